' The failures that PopUpMenu reports in a message box, from VBScript (Boxes.js does the same from
' JScript): a numeric key, a key that no item has, a position beyond the last item. Each call
' returns Nothing and raises no error. Exit code 0, or the number of the call that went wrong.
On Error Resume Next
Set menu = CreateObject("PopUpMenu.NuvraPopUpMenu")
Set items = menu.MenuItems
items.Add "a", "A"
Set refused = items.Add("12", "Twelve")
If Err.Number <> 0 Or Not (refused Is Nothing) Then WScript.Quit 1
Set missing = items("nowhere")
If Err.Number <> 0 Or Not (missing Is Nothing) Then WScript.Quit 2
Set beyond = items.MenuItem(5)
If Err.Number <> 0 Or Not (beyond Is Nothing) Then WScript.Quit 3
If items.Count <> 1 Then WScript.Quit 4
WScript.Quit 0

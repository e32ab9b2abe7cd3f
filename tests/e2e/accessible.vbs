' A menu whose labels an accessibility client must read right: access letters, a label outside
' ASCII (Windows-1252 codes: Wine's VBScript has no ChrW), a doubled ampersand, submenus two
' levels deep. The test's reader object, in this process, reads the open menu and writes its report
' to the path given as the first argument; the test then closes the menu.
On Error Resume Next
Set reader = CreateObject("PopUpMenuTests.MenuReader")
If Err.Number <> 0 Then WScript.Echo "no reader: " & Err.Description : WScript.Quit 1
reader.ReadWhenOpen WScript.Arguments(0)
If Err.Number <> 0 Then WScript.Echo "reader failed: " & Err.Description : WScript.Quit 1
Set menu = CreateObject("PopUpMenu.NuvraPopUpMenu")
If Err.Number <> 0 Then WScript.Echo "no menu: " & Err.Description : WScript.Quit 1
Set items = menu.MenuItems
items.Add "open", "&Open"
items.Add "city", "Citt" & Chr(224) & " " & Chr(150) & " " & Chr(220) & "n" & Chr(239) & "c" & Chr(248) & "d" & Chr(233)
items.Add "sep1", "-"
items.Add "more", "&More"
items.Add "recent", "&Recent files", "more"
items.Add "archive2019", "Archive &2019", "recent"
items.Add "tools", "Tools && Options", "more"
items.Add "exit", "E&xit"
chosen = menu.PopUp()
If Err.Number <> 0 Then WScript.Echo "PopUp failed: " & Err.Description : WScript.Quit 1
WScript.Echo "chosen: " & chosen
WScript.Quit 0

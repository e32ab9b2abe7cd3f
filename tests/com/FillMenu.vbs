' Fills a menu through PopUpMenu's automation interface as a script host does, and checks what it
' reads back. The test that runs it closes the message box of step 9 and chooses the second item of
' the menu of step 11. Exit code 0: every step held; otherwise the number of the first failed step.
Option Explicit
On Error Resume Next

' Each step computes ok in a statement of its own: a failing call skips that statement (leaving ok
' False and the error in Err), and Expect reports it under the right step.
Sub Expect(stepNumber, ok, what)
    If Err.Number <> 0 Then
        WScript.Echo "step " & stepNumber & " (" & what & "): error " & Hex(Err.Number) & " " & Err.Description
        WScript.Quit stepNumber
    End If
    If Not ok Then
        WScript.Echo "step " & stepNumber & " (" & what & "): wrong result"
        WScript.Quit stepNumber
    End If
End Sub

Dim ok, menu, items, file, openItem, recent, report, refused, chosen, k, t, p

' 1. The component and its collection.
Set menu = CreateObject("PopUpMenu.NuvraPopUpMenu")
ok = False : ok = IsObject(menu) : Expect 1, ok, "CreateObject"
Set items = menu.MenuItems
ok = False : ok = (items.Count = 0) And (TypeName(items.Count) = "Integer") : Expect 2, ok, "empty collection"

' 3. Add with only key and text: the optional arguments are missing.
Set file = items.Add("file", "File")
ok = False : ok = (file.key = "file") And (file.NormalPictureIndex = -1) And (file.Parent Is Nothing)
Expect 3, ok, "Add with key and text"

' 4. Add with every optional argument; the parent is the parent object itself.
Set openItem = items.Add("open", "Open", "file", 2, "3")
ok = False
ok = (openItem.NormalPictureIndex = 2) And (openItem.CheckedPictureIndex = 3) And (openItem.Parent.key = "file") _
     And file.IsSubMenu And (TypeName(file.IsSubMenu) = "Boolean")
Expect 4, ok, "Add with every optional"

' 5. Variables, which the script passes by reference; the parent key in other letter case.
k = "recent" : t = "Recent" : p = "FILE"
Set recent = items.Add(k, t, p)
ok = False : ok = (recent.Parent.key = "file") And (recent.Text = "Recent") : Expect 5, ok, "Add with variables"

' 6. A missing argument in the middle.
Set report = items.Add("report", "Report.txt", "recent", , 5)
ok = False : ok = (report.NormalPictureIndex = -1) And (report.CheckedPictureIndex = 5) : Expect 6, ok, "skipped optional"

' 7. Top-level items: a separator among them.
items.Add "edit", "Edit"
items.Add "sep", "-"
items.Add "quit", "Quit"
ok = False : ok = (items.Count = 7) : Expect 7, ok, "Count after seven items"

' 8. Reading back by key (any letter case) and by position, through the default member and by name.
ok = False
ok = (items("OPEN").Text = "Open") And (items(2).key = "open") And (items.MenuItem(1).key = "file") _
     And (items(items.Count).key = "quit")
Expect 8, ok, "items by key and position"

' 9. A numeric key is refused with a message box; nothing is added.
Set refused = items.Add("12", "Twelve")
ok = False : ok = (refused Is Nothing) And (items.Count = 7) : Expect 9, ok, "numeric key refused"

' 10. Properties; a change through Parent is a change of the parent.
openItem.Checked = True
openItem.Enabled = False
openItem.Parent.Text = "Archive"
ok = False : ok = openItem.Checked And Not openItem.Enabled And (items("file").Text = "Archive") : Expect 10, ok, "properties"

' 11. The menu: the test chooses its second item (file opens a submenu; the separator is skipped).
chosen = menu.PopUp
ok = False : ok = (chosen = "edit") : Expect 11, ok, "PopUp returned """ & chosen & """"

' 12. Removing an item removes its whole subtree; held items keep their parent.
items.Remove "file"
ok = False : ok = (items.Count = 3) And (items(1).key = "edit") And (report.Parent.key = "recent") And file.IsSubMenu
Expect 12, ok, "Remove of a subtree"

' 13. Remove with a numeric string addresses a position.
items.Remove "2"
ok = False : ok = (items.Count = 2) And (items(2).key = "quit") : Expect 13, ok, "Remove by position"

' 14. Clear empties the collection; it stays usable.
items.Clear
ok = False : ok = (items.Count = 0) : Expect 14, ok, "Clear"
items.Add "again", "Again"
ok = False : ok = (items.Count = 1) And (items("again").Text = "Again") : Expect 15, ok, "Add after Clear"

WScript.Quit 0

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

Dim ok, menu, items, file, openItem, recent, report, refused, chosen, k, t, p, item, visited, n, d, src

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

' 16. For Each visits every item in collection order, submenu items included.
items.Add "a", "A"
items.Add "b", "B"
items.Add "b1", "B one", "b"
items.Add "c", "C"
visited = ""
For Each item In menu.MenuItems
    visited = visited & item.key & " "
Next
ok = False : ok = (visited = "again a b b1 c ") : Expect 16, ok, "For Each visited """ & visited & """"

' 17. The enumeration walks the items as they were when it began: items removed meanwhile are still
' visited, as the objects they were, and an item added meanwhile is not.
visited = ""
For Each item In items
    If item.key = "a" Then
        items.Remove "b"
        items.Add "d", "D"
    End If
    visited = visited & item.key & "=" & item.Text & " "
Next
ok = False : ok = (visited = "again=Again a=A b=B b1=B one c=C ") And (items.Count = 4) And (items(4).key = "d")
Expect 17, ok, "For Each while the collection changes visited """ & visited & """"

' 18. An empty collection: no pass at all.
items.Clear
n = 0
For Each item In items
    n = n + 1
Next
ok = False : ok = (n = 0) : Expect 18, ok, "For Each over an empty collection"

' 19-22. Failures that a script reads in Err: its number, description and source. An item is no
' collection: For Each refuses it. (Wine's VBScript makes any failure to get an enumerator an
' E_FAIL of its own, without a description, measured.)
Set item = items.Add("x", "X")
For Each k In item
Next
n = Err.Number : Err.Clear
ok = False : ok = (n <> 0) : Expect 19, ok, "For Each over an item"
item.Checked = "maybe"
n = Err.Number : d = Err.Description : src = Err.Source : Err.Clear
ok = False : ok = (n = 13) And (d = "Type mismatch") And (src = "PopUpMenu.MenuItem") : Expect 20, ok, "a text for a Boolean: " & n & " " & d & " " & src
menu.hImageList = 1E+12
n = Err.Number : d = Err.Description : Err.Clear
ok = False : ok = (n = 6) And (d = "Overflow") : Expect 21, ok, "an image list beyond 32 bits: " & n & " " & d
items.Remove
n = Err.Number : d = Err.Description : Err.Clear
ok = False : ok = (n = 450) And (d = "Wrong number of arguments or invalid property assignment") : Expect 22, ok, "Remove without a key: " & n & " " & d

WScript.Quit 0

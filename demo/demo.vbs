' PopUpMenu from a script: cscript //NoLogo demo.vbs
' Fills a menu with a three-level submenu, separators, checked, disabled and hidden items, pops it
' up at the mouse cursor and prints the key of the chosen item ("chosen: " alone when dismissed).
' cscript ends with code 0 even after a script error, so errors are checked here and end the
' script with code 1.
Option Explicit
On Error Resume Next

Dim menu, items, item, key
Set menu = CreateObject("PopUpMenu.NuvraPopUpMenu")
Check "creating PopUpMenu.NuvraPopUpMenu"
Set items = menu.MenuItems

items.Add "open", "&Open"
items.Add "save", "&Save"
' "Città – Ünïcødé". cscript reads a script in the ANSI code page, so the file stays ASCII and
' spells the letters by their Windows-1252 codes (Wine's VBScript has no ChrW).
items.Add "city", "Citt" & Chr(224) & " " & Chr(150) & " " & Chr(220) & "n" & Chr(239) & "c" & Chr(248) & "d" & Chr(233)
items.Add "sep1", "-"
Set item = items.Add("bold", "&Bold")
item.Checked = True
' "&Save" and "&Starred" share their access letter: typing S moves the highlight between them.
Set item = items.Add("starred", "&Starred")
item.Checked = True
Set item = items.Add("print", "&Print")
item.Enabled = False
Set item = items.Add("secret", "Hidden item")
item.Visible = False
items.Add "more", "&More"
items.Add "recent", "&Recent files", "more"
items.Add "older", "&Older", "recent"
items.Add "archive2019", "Archive &2019", "older"
items.Add "archive2020", "Archive 2020", "older"
items.Add "report", "Report.txt", "recent"
items.Add "tools", "Tools && Options", "more"
items.Add "sep2", "-"
items.Add "exit", "E&xit"
Check "filling the menu"

key = menu.PopUp()
Check "PopUp"
WScript.Echo "chosen: " & key
WScript.Quit 0

Sub Check(what)
    If Err.Number <> 0 Then
        WScript.Echo "error: " & what & ": " & Err.Description & " (" & Hex(Err.Number) & ")"
        WScript.Quit 1
    End If
End Sub

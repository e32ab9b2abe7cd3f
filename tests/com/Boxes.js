// The failures that PopUpMenu reports in a message box, from JScript (Boxes.vbs does the same from
// VBScript): a numeric key, a key that no item has, a position beyond the last item. Each call
// returns null and throws nothing. Exit code 0, or the number of the call that went wrong.
var step = 0;
try {
    var menu = new ActiveXObject("PopUpMenu.NuvraPopUpMenu");
    var items = menu.MenuItems;
    items.Add("a", "A");
    step = 1;
    if (items.Add("12", "Twelve") !== null) WScript.Quit(step);
    step = 2;
    if (items("nowhere") !== null) WScript.Quit(step);
    step = 3;
    if (items.MenuItem(5) !== null) WScript.Quit(step);
    step = 4;
    if (items.Count != 1) WScript.Quit(step);
} catch (e) {
    WScript.Echo("step " + step + ": error " + (e.number >>> 0).toString(16) + " " + e.message);
    WScript.Quit(step || 10);
}
WScript.Quit(0);

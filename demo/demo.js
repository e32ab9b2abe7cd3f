// PopUpMenu from a JScript script: cscript //NoLogo demo.js
// The menu of demo.vbs, written as JScript writes it: the collection read as a property, items
// changed through the collection's default member c(key) and through c.MenuItem(key), an item
// removed by its position. Pops the menu up at the mouse cursor and prints the key of the chosen
// item ("chosen: " alone when dismissed). cscript ends with code 0 even after a script error, so
// errors are caught here and end the script with code 1.
var step = "creating PopUpMenu.NuvraPopUpMenu";
try {
    var menu = new ActiveXObject("PopUpMenu.NuvraPopUpMenu");
    var items = menu.MenuItems;

    step = "filling the menu";
    items.Add("open", "&Open");
    items.Add("save", "&Save");
    items.Add("city", "Citt\u00e0 \u2013 \u00dcn\u00efc\u00f8d\u00e9");
    items.Add("sep1", "-");
    items.Add("bold", "&Bold").Checked = true;
    // "&Save" and "&Starred" share their access letter: typing S moves the highlight between them.
    items.Add("starred", "&Starred");
    items("starred").Checked = true;
    items.Add("print", "&Print");
    items.MenuItem("print").Enabled = false;
    items.Add("secret", "Hidden item");
    items("secret").Visible = false;
    items.Add("more", "&More");
    items.Add("recent", "&Recent files", "more");
    items.Add("older", "&Older", "recent");
    items.Add("archive2019", "Archive &2019", "older");
    items.Add("archive2020", "Archive 2020", "older");
    items.Add("report", "Report.txt", "recent");
    items.Add("draft", "Draft");
    items.Add("tools", "Tools && Options", "more");
    // The draft was a mistake: removed again by its position.
    items.Remove(items.Count - 1);
    items.Add("sep2", "-");
    items.Add("exit", "E&xit");

    step = "PopUp";
    var key = menu.PopUp();
    WScript.Echo("chosen: " + key);
    WScript.Quit(0);
} catch (e) {
    WScript.Echo("error: " + step + ": " + e.message + " (" + (e.number >>> 0).toString(16) + ")");
    WScript.Quit(1);
}

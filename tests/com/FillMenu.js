// FillMenu.vbs for JScript: fills a menu through PopUpMenu's automation interface as a JScript
// host does, in the forms that language writes, and checks what it reads back. The test that runs
// it closes the message box of step 9 and chooses the second item of the menu of step 11. Exit code
// 0: every step held; otherwise the number of the first failed step.

function expect(stepNumber, what, check) {
    var ok = false;
    try {
        ok = check();
    } catch (e) {
        WScript.Echo("step " + stepNumber + " (" + what + "): error " + (e.number >>> 0).toString(16) + " " + e.message);
        WScript.Quit(stepNumber);
    }
    if (!ok) {
        WScript.Echo("step " + stepNumber + " (" + what + "): wrong result");
        WScript.Quit(stepNumber);
    }
}

// The failure a statement raises: its run-time error number (the low word of a FACILITY_CONTROL
// code) and its message; number 0 when it raised none.
function failureOf(statement) {
    try {
        statement();
    } catch (e) {
        return {number: (e.number >>> 0) >= 0x800A0000 && (e.number >>> 0) <= 0x800AFFFF ? e.number & 0xFFFF : e.number,
                message: e.message};
    }
    return {number: 0, message: ""};
}

function keysOf(collection) {
    var keys = [];
    for (var e = new Enumerator(collection); !e.atEnd(); e.moveNext()) keys.push(e.item().key);
    return keys.join(" ");
}

var menu, items, file, openItem, recent, report, refused, chosen, k, t, p, visited, item, f;

// 1. The component and its collection; MenuItems and Count read as properties, as JScript writes
// them, and called as the methods they are.
expect(1, "new ActiveXObject", function () {
    menu = new ActiveXObject("PopUpMenu.NuvraPopUpMenu");
    return typeof menu == "object";
});
expect(2, "empty collection", function () {
    items = menu.MenuItems;
    return items.Count === 0 && items.Count() === 0 && menu.MenuItems().Count === 0;
});

// 3. Add with only key and text: the optional arguments are missing.
expect(3, "Add with key and text", function () {
    file = items.Add("file", "File");
    return file.key == "file" && file.NormalPictureIndex == -1 && file.Parent === null;
});

// 4. Add with every optional argument; the parent is the parent object itself.
expect(4, "Add with every optional", function () {
    openItem = items.Add("open", "Open", "file", 2, "3");
    return openItem.NormalPictureIndex == 2 && openItem.CheckedPictureIndex == 3 && openItem.Parent.key == "file" &&
           file.IsSubMenu === true;
});

// 5. Variables; the parent key in other letter case.
expect(5, "Add with variables", function () {
    k = "recent"; t = "Recent"; p = "FILE";
    recent = items.Add(k, t, p);
    return recent.Parent.key == "file" && recent.Text == "Recent";
});

// 6. An argument left out in the middle: JScript has no empty argument, so the test passes null,
// which is no number and so no picture.
expect(6, "no picture for null", function () {
    report = items.Add("report", "Report.txt", "recent", null, 5);
    return report.NormalPictureIndex == -1 && report.CheckedPictureIndex == 5;
});

// 7. Top-level items: a separator among them.
expect(7, "Count after seven items", function () {
    items.Add("edit", "Edit");
    items.Add("sep", "-");
    items.Add("quit", "Quit");
    return items.Count == 7;
});

// 8. Reading back by key (any letter case) and by position, through the default member and by name.
expect(8, "items by key and position", function () {
    return items("OPEN").Text == "Open" && items(2).key == "open" && items.MenuItem(1).key == "file" &&
           items(items.Count).key == "quit" && items.MenuItem("quit").key == "quit";
});

// 9. A numeric key is refused with a message box; nothing is added.
expect(9, "numeric key refused", function () {
    refused = items.Add("12", "Twelve");
    return refused === null && items.Count == 7;
});

// 10. Properties set through the default member and through MenuItem; a change through Parent is a
// change of the parent.
expect(10, "properties", function () {
    items("open").Checked = true;
    items.MenuItem("open").Enabled = false;
    openItem.Parent.Text = "Archive";
    return openItem.Checked === true && openItem.Enabled === false && items("file").Text == "Archive";
});

// 11. The menu: the test chooses its second item (file opens a submenu; the separator is skipped).
// PopUp is a method: read without parentheses it is refused, and no menu opens.
expect(11, "PopUp", function () {
    f = failureOf(function () { chosen = menu.PopUp; });
    if (f.number != 438 || f.message != "Object doesn't support this property or method") return false;
    chosen = menu.PopUp();
    return chosen == "edit";
});

// 12. Removing an item removes its whole subtree; held items keep their parent.
expect(12, "Remove of a subtree", function () {
    items.Remove("file");
    return items.Count == 3 && items(1).key == "edit" && report.Parent.key == "recent" && file.IsSubMenu;
});

// 13. Remove by position, as a number and as a numeric string.
expect(13, "Remove by position", function () {
    items.Add("last", "Last");
    items.Remove(2);
    items.Remove("3");
    return items.Count == 2 && keysOf(items) == "edit quit";
});

// 14-15. Clear empties the collection; it stays usable. Clear is a method: read without
// parentheses it is refused and clears nothing.
expect(14, "Clear", function () {
    f = failureOf(function () { return items.Clear; });
    if (f.number != 438 || items.Count != 2) return false;
    items.Clear();
    return items.Count == 0;
});
expect(15, "Add after Clear", function () {
    items.Add("again", "Again");
    return items.Count == 1 && items("again").Text == "Again";
});

// 16. An Enumerator visits every item in collection order, submenu items included.
expect(16, "Enumerator", function () {
    items.Add("a", "A");
    items.Add("b", "B");
    items.Add("b1", "B one", "b");
    items.Add("c", "C");
    visited = keysOf(menu.MenuItems());
    return visited == "again a b b1 c" && keysOf(items) == visited;
});

// 17. The enumeration walks the items as they were when it began: items removed meanwhile are still
// visited, as the objects they were, and an item added meanwhile is not.
expect(17, "Enumerator while the collection changes", function () {
    visited = [];
    for (var e = new Enumerator(items); !e.atEnd(); e.moveNext()) {
        item = e.item();
        if (item.key == "a") {
            items.Remove("b");
            items.Add("d", "D");
        }
        visited.push(item.key + "=" + item.Text);
    }
    return visited.join(" ") == "again=Again a=A b=B b1=B one c=C" && items.Count == 4 && items(4).key == "d";
});

// 18. An empty collection: the enumerator is at its end at once.
expect(18, "Enumerator over an empty collection", function () {
    items.Clear();
    return new Enumerator(items).atEnd();
});

// 19-22. Failures that a script reads in a catch: their number, message and source. An item is no
// collection: the Enumerator refuses it. (Wine's JScript makes any failure to get an enumerator
// an E_INVALIDARG of its own, without a message, measured; VBScript's For Each reads 438.)
expect(19, "Enumerator over an item", function () {
    item = items.Add("x", "X");
    f = failureOf(function () { new Enumerator(item); });
    return f.number != 0;
});
expect(20, "a text for a Boolean", function () {
    f = failureOf(function () { item.Checked = "maybe"; });
    // (Wine's JScript has no source on its errors, measured: VBScript's Err.Source names the class.)
    return f.number == 13 && f.message == "Type mismatch";
});
expect(21, "an image list beyond 32 bits", function () {
    f = failureOf(function () { menu.hImageList = 1e12; });
    return f.number == 6 && f.message == "Overflow";
});
expect(22, "Remove without a key", function () {
    f = failureOf(function () { items.Remove(); });
    return f.number == 450 && f.message == "Wrong number of arguments or invalid property assignment";
});

WScript.Quit(0);

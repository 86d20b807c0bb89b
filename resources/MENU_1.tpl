# The main window's menu: "popup TEXT" ... "end" for each menu of the bar,
# "item ID TEXT [STYLE ...]" and "separator" inside. Styles: checkmark (the
# item can carry a check mark), checked (and carries one at start). "&"
# marks the access key.
menu MENU_1
  popup "&File"
    item 121 "&New"
    item 122 "&Open"
    item 123 "&Save"
    item 124 "Save &as"
    item 125 "&Run"
    separator
    item 126 "E&xit"
  end
  popup "&Output"
    item 127 "&Edit"
    item 128 "&Add"
    item 129 "&Delete"
  end
  popup "O&ptions"
    item 134 "Generate &Curve(s)" checked
    item 135 "Generate &Report" checkmark
  end
  popup "&Help"
    item 130 "&Contents"
    item 133 "&Search"
    separator
    item 132 "&About"
  end
end

# The main window. One control a line:
#
#   KIND  ID  "TEXT"  LEFT TOP WIDTH HEIGHT  [STYLE ...]
#
# Rectangles are in dialog units of the dialog's font (a quarter of its
# average character width across, an eighth of its height down). Controls
# without an id of their own (labels, frames) carry -1. Kinds: static,
# groupbox, button, checkbox, edit, listbox, combobox. A head styled
# column=LIST:N stands over character column N of a fixed-pitch list.
dialog MAINDLG
  size 334 229
  caption "Quillex"
  class QXJ_MAIN
  menu MENU_1
  font "Helv" 8
  style caption sysmenu minimizebox fixedframe

  # The job: its file as the frame's title, the outputs, the plot.
  groupbox  103  ""                      6    6  322  94
  static     -1  "Output"               14   21   40   8  column=104:0
  static     -1  "Samp"                 72   21   24   8  column=104:11
  static     -1  "Formula"             104   21   40   8  column=104:17
  listbox   104  ""                     12   30  310  50  fixedfont vscroll notify
  static    119  "Presentation"         12   82   56  12  vcenter
  edit      105  ""                     70   82  144  12
  button    109  "<< Browse"           216   82   40  12
  static    120  "Scale"               262   84   24   8
  edit      102  ""                    288   82   34  12

  # Where the data comes from and where it goes.
  groupbox   -1  "Main Input Data Source"    6  104  322  30
  edit      106  ""                     10  116  272  12  readonly
  button    115  "<< Browse"           284  116   40  12
  groupbox   -1  "Output Data Destination"   6  138  322  30
  edit      108  ""                     10  150  272  12  readonly
  button    117  "<< Browse"           284  150   40  12

  # The processing interval, in the units shown beside it.
  groupbox   -1  "Processing Interval"   6  172  200  30
  static     -1  "from"                 12  186   16   8
  edit      111  ""                     30  184   46  12
  static    113  ""                     78  186   20   8
  static     -1  "to"                  110  186   12   8
  edit      112  ""                    124  184   46  12
  static    114  ""                    172  186   20   8

  # The run.
  static     -1  "Progress:"            10  212   38   8
  static    167  ""                     50  212   54   8
  button    110  "Run"                 210  208   56  14
  button      2  "Exit"                272  208   56  14
end

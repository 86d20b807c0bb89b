# The math-error dialog of a run: Yes goes on (the check box, read by Yes
# only, keeps further errors of the run quiet), No stops the run.
dialog ERRDLG
  size 190 62
  caption "Math error has occurred"
  font "Helv" 8
  style caption sysmenu modalframe

  static     -1  "Result will be zero, continue processing?"   10  10  170   8
  checkbox 1000  "Do not show any more warning messages"      10  24  170  10
  button      1  "Yes"                  40  42   50  14  default
  button      2  "No"                  100  42   50  14
end

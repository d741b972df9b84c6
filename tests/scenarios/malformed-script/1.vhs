# A malformed line stops the run before the program starts: no window, status 2.
click BtnOpen
click BtnOpen BtnSave
close

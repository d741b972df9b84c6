# Later systems show the window at once and close it without fading.
print visible BtnOpen
close

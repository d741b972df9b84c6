# On NT 5.1 the window is built hidden, fades in, and fades out on close.
print visible BtnOpen
close

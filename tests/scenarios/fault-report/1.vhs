# An integer division by zero in the program's own code: one "Fehler" box with the description,
# the source line and the source file, then the program ends as on close, without fading.
print text BtnOpen
fault divzero
print text BtnOpen

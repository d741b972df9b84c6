# Choosing a mode is a control event: the panels follow with the next other event.
click OptModeLogo
print visible BoxText
print visible BoxLogo
pointer 5 5
print visible BoxText
print visible BoxLogo
print visible BoxFrame
click OptModeFrame
key "Ctrl+A"
print visible BoxLogo
print visible BoxFrame
print visible BoxTexture
print visible BoxCircles
set CmbFrameKind 1
print visible BoxTexture
pointer 6 6
print visible BoxTexture
print visible BoxCircles
# A dropped file changes nothing, but counts as an event that applies the panels.
click OptModeText
drop "/tmp/picture.jpg"
print visible BoxText
print visible BoxFrame

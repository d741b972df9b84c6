# A texture tile that cannot be read draws no frame, and the user is told which tile it was
# (a broken file and one cut short after its first bytes).
answer open "white.png"
click BtnOpen
click OptModeFrame
pointer 5 5
set TreeTextures 1
click BtnTexUpdate
set TreeTextures 2
click BtnTexUpdate

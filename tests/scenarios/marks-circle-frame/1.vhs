# A circle frame on a 120 x 90 picture: transparent, black, a cancelled colour choice, two
# sides only, and a band of half the picture's height.
click OptModeFrame
pointer 5 5
set CmbFrameKind 1
pointer 6 6
answer open "photo.png"
click BtnOpen
set TrkCircleAlpha 255
click BtnCircleUpdate
save-image 64 "clear.png"
set TrkCircleAlpha 0
answer colour 0x000000
click BtnCircleColour
click BtnCircleUpdate
save-image 64 "black.png"
answer colour 0x0000FF
click BtnCircleColour
answer colour cancel
click BtnCircleColour
click OptSides2
set SpinCircleRadius 10
click BtnCircleUpdate
save-image 64 "sides2.png"
set SpinCircleWidth 45
click BtnCircleUpdate
save-image 64 "full.png"
set SpinCircleWidth 16
click OptSides4
click ChkCircleFilled
click BtnCircleUpdate
save-image 64 "outlined.png"

# A wood frame around a 100 x 80 picture: first without a picture, then without a tile chosen,
# then opaque, half transparent, fully transparent, and with bands wider than half the picture.
click OptModeFrame
pointer 5 5
set TreeTextures 5
click BtnTexUpdate
answer open "solid.png"
click BtnOpen
set TreeTextures 4
click BtnTexUpdate
set TreeTextures 5
set SpinTexWidth 16
click BtnTexUpdate
save-image 64 "opaque.png"
print image 58
set TrkTexAlpha 128
click BtnTexUpdate
save-image 64 "half.png"
set TrkTexAlpha 255
click BtnTexUpdate
save-image 64 "clear.png"
set TrkTexAlpha 0
set SpinTexWidth 40
click BtnTexUpdate
save-image 64 "wide.png"

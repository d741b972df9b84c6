# Logos on a 101 x 75 picture: the no-picture warning, a blended logo at two anchors and with
# half transparency, keyed GIF logos with the picker closed and clicked, a PCX keyed with the
# colour picked last, a ".Gif" that the picture loader cannot read, a second render replacing
# the logo, anchors doing nothing once the requester was cancelled, and the batch tab's logo
# button hiding the transparency controls for keyed logos only.
click OptModeLogo
pointer 5 5
click BtnLogoFile
answer open "picture.png"
click BtnOpen
answer open "logo.png"
click BtnLogoFile
print text TxtLogoFile
save-image 64 "centre.png"
print visible TrkLogoAlpha
click OptLogoPos7
save-image 64 "corner.png"
set TrkLogoAlpha 128
save-image 64 "half.png"
answer open "logo.gif"
answer picker close
click BtnLogoFile
save-image 64 "gif-closed.png"
print visible TrkLogoAlpha
print visible LblLogoAlpha
answer open "logo.gif"
answer picker 2 2
click BtnLogoFile
save-image 64 "gif-keyed.png"
answer open "logo.pcx"
click BtnLogoFile
save-image 64 "pcx.png"
answer open "logo.Gif"
click BtnLogoFile
save-image 64 "mixed-case.png"
print visible TrkLogoAlpha
answer open "logo.png"
click BtnLogoFile
click OptModeFrame
pointer 6 6
set TreeTextures 5
set TrkTexAlpha 255
click BtnTexUpdate
save-image 64 "second.png"
click OptModeLogo
pointer 7 7
answer open cancel
click BtnLogoFile
click OptLogoPos1
save-image 64 "after-cancel.png"
set PnlTabs 1
set PnlBatchMark 1
answer open "logo.GIF"
click BtnBatchLogoFile
print visible TrkBatchAlpha
print visible LblBatchAlphaMax
print text TxtBatchLogoFile
answer open cancel
click BtnBatchLogoFile
print visible TrkBatchAlpha
print text TxtBatchLogoFile
answer open "logo.Gif"
click BtnBatchLogoFile
print visible LblBatchAlpha

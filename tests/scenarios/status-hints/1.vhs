# BtnOpen covers client x 65..219, y 342..371: left and top edges count, right and bottom not.
pointer 65 342
print status
pointer 219 371
print status
pointer 220 342
print status
pointer 65 372
print status
pointer 64 350
print status
hover BtnSave
print status
hover ImgSource
print status
hover ImgPreview
print status
pointer 5 5
print status
click OptModeLogo
print status
click OptModeFrame
pointer 5 5
print status
set PnlTabs 1
print status
# The settings and information tabs have no hints, even over the place of BtnOpen.
set PnlTabs 2
pointer 100 350
print status
set PnlTabs 3
pointer 100 351
print status

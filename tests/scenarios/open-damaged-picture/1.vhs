# Opening a file that is no whole picture says so, and the picture open before, the result made
# from it and the work on them stay as they were: the mark can be applied again. A logo that
# cannot be read says so too, instead of showing its name with nothing drawn.
answer open "white.png"
click BtnOpen
answer font "DejaVu Sans" 12
click BtnFont
type TxtMark "x"
click BtnApplyText
answer open "cut.png"
click BtnOpen
print image 45
print image 64
click BtnApplyText
print image 64
click OptModeLogo
pointer 5 5
answer open "cut.png"
click BtnLogoFile

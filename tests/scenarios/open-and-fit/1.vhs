# Opening pictures: each is recognised by its content, shown in both previews shrunk to at most
# 180 (or, from aspect 1.4 on, 120) pixels high and centred in the 255 x 225 boxes; the full
# picture is kept as the working copy. Save has nothing to write until a mark was applied.
click BtnSave
answer open "photo1600x1200.jpg"
click BtnOpen
print image 45
print image 57
print geometry ImgSource
print geometry ImgPreview
# Opening sets the first position of text and logo again.
click OptTextPos3
click OptModeLogo
pointer 5 5
click OptLogoPos5
answer open "pano3000x1000.jpg"
click BtnOpen
print state OptTextPos1
print state OptLogoPos1
print image 45
print geometry ImgSource
print geometry ImgPreview
# Exactly 220 x 200 stays as it is; one pixel wider is shrunk.
answer open "small220x200.png"
click BtnOpen
print image 45
print geometry ImgPreview
answer open "wide221x200.png"
click BtnOpen
print image 45
print geometry ImgSource
# Aspect exactly 1.4 counts as wide.
answer open "ratio1400x1000.png"
click BtnOpen
print image 45
print geometry ImgPreview
answer open "tall100x1000.tga"
click BtnOpen
print image 45
print geometry ImgSource
answer open "strip1000x100.png"
click BtnOpen
print image 45
print geometry ImgPreview
# A PNG file named .jpg opens by its content.
answer open "png-named.jpg"
click BtnOpen
print image 45
print image 57
print geometry ImgSource
# A cancelled open and a file that is no picture leave the previews as they were.
answer open cancel
click BtnOpen
print image 45
print geometry ImgSource
answer open "notes.jpg"
click BtnOpen
print image 45
print image 57
print geometry ImgSource
print geometry ImgPreview
click BtnSave

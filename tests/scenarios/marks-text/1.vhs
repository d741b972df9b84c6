# The text mark: the font button before a picture, the default font before any font was chosen,
# a font chosen on the batch tab used by the single mark, a text wider than the picture, the
# font requester's presets, and the text mode left.
click BtnFont
answer open "white.png"
click BtnOpen
type TxtMark "█"
click BtnApplyText
save-image 64 "default.png"
set PnlTabs 1
set PnlBatchMark 0
answer font "DejaVu Sans" 36 bold colour 0x0000FF
click BtnBatchFont
set PnlTabs 0
click BtnApplyText
save-image 64 "batch-font.png"
print image 58
type TxtMark "████████████████████"
click BtnApplyText
save-image 64 "wide.png"
click OptTextPos7
type TxtMark "█"
click BtnApplyText
save-image 64 "corner.png"
answer font "DejaVu Sans" 12 italic colour 0x00FF00
click BtnFont
answer font cancel
click BtnFont
save-image 64 "green.png"
# Before the next event hides the text panel: outside text mode the picture is shown unmarked
# and the saved result stays the last mark.
click OptModeLogo
click BtnApplyText
print geometry ImgPreview
save-image 64 "logo-mode.png"
print image 64

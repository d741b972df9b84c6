# Switch to English, look around, save the settings with a picture name.
toolbar TbEnglish
print text BtnOpen
hover BtnOpen
print status
set PnlTabs 2
type TxtPictureName "holiday"
click BtnSaveSettings
close

# No Settings.ini: German texts, empty settings fields, folder views in the default folder.
print text BtnOpen
print items PnlTabs
print items PnlBatchMark
print text TxtPictureName
print text TxtDefaultDir
print state OptModeText
print visible BoxText
print visible BoxLogo
print visible BoxFrame
print enabled BtnBatchStart
print text SpinTexWidth
print text TxtInfo
# Closing writes nothing.
close

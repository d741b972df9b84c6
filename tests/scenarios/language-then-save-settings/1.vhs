# English from the settings file; saving the settings does not store the language.
print text BtnOpen
print text TxtPictureName
print text TxtDefaultDir
click BtnSaveSettings

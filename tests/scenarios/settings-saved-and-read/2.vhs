# The next start shows what was saved.
print text TxtPictureName
print text TxtDefaultDir
print text CmbExplorer
print text BtnOpen
# Saving again without choosing a folder in this run drops the folder.
type TxtPictureName "ferien"
click BtnSaveSettings

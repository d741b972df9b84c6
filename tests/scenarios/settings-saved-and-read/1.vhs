# An empty picture name is refused with a warning and nothing is written.
click BtnSaveSettings
type TxtPictureName "urlaub"
answer folder "/bilder/"
click BtnDefaultDir
print text TxtDefaultDir
click BtnSaveSettings
close

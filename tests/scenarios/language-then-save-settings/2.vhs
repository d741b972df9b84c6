# So the next start is German, and without a folder chosen in the last run, no folder is kept.
print text BtnOpen
print text TxtPictureName
print text TxtDefaultDir

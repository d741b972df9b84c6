print text TxtPictureName
print text TxtDefaultDir

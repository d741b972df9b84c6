# Switching the language and saving the settings both write the file anew; the metadata choice,
# which no control shows, is carried over by each of them.
toolbar TbGerman
print text BtnOpen
click BtnSaveSettings

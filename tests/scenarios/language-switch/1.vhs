# The switch relabels at once and rewrites the settings file, whatever the case of its name.
print text BtnOpen
toolbar TbEnglish
print text BtnOpen
print items PnlTabs
print items PnlBatchMark
print text OptTextPos5
print text BtnFont
print geometry BtnFont
print text TxtInfo
print status
# The button already pressed does nothing.
toolbar TbEnglish
print text BtnOpen

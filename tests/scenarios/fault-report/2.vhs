# A write through a null pointer, with the interface in English: the report reads the same.
toolbar TbEnglish
print text BtnOpen
fault segv
print text BtnOpen

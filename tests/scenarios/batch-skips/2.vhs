# The next start shows the English texts.
toolbar TbEnglish

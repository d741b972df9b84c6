# Pictures a run cannot write are skipped with a log line saying why, and a warning after the
# run tells how many of the listed pictures were written.
set PnlTabs 1
type CmbExplorer "pics"
click BtnAddAll
answer font "DejaVu Sans" 8
click BtnBatchFont
type TxtBatchMark "x"
# A file that does not load.
answer folder "out/"
click BtnOutputDir
click BtnBatchStart
# A folder that does not exist: every save fails.
answer folder "nowhere/"
click BtnOutputDir
click BtnBatchStart
# Kept names into the sources' own folder would replace each original by a JPEG.
answer folder "pics/"
click BtnOutputDir
click ChkKeepNames
click BtnBatchStart
click ChkKeepNames
# A logo that does not decode.
answer folder "out/"
click BtnOutputDir
answer open "badlogo.png"
click BtnBatchLogoFile
set PnlBatchMark 1
click BtnBatchStart
# A run where everything is written shows no warning.
click BtnClear
select LstExplorer 0 1
click BtnAddSelected
answer open "logo.png"
click BtnBatchLogoFile
click BtnBatchStart
type CmbExplorer "out"
print items LstExplorer

# The skip lines and the warning in English.
set PnlTabs 1
type CmbExplorer "pics"
click BtnAddAll
answer font "DejaVu Sans" 8
click BtnBatchFont
type TxtBatchMark "x"
answer folder "pics/"
click BtnOutputDir
click ChkKeepNames
click BtnBatchStart
click ChkKeepNames
answer folder "nowhere/"
click BtnOutputDir
click BtnBatchStart
answer folder "out/"
click BtnOutputDir
answer open "badlogo.png"
click BtnBatchLogoFile
set PnlBatchMark 1
click BtnBatchStart

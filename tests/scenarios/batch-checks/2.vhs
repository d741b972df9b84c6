# A logo run without a logo, then without an output folder (the requester cancelled: the field
# keeps the old folder); a text run then writes into the working folder.
set PnlTabs 1
type CmbExplorer "pics"
click BtnAddAll
set PnlBatchMark 1
answer folder "out/"
click BtnOutputDir
click BtnBatchStart
answer open "logo.png"
click BtnBatchLogoFile
answer folder cancel
click BtnOutputDir
print text TxtOutputDir
click BtnBatchStart
set PnlBatchMark 0
answer font "DejaVu Sans" 8
click BtnBatchFont
type TxtBatchMark "x"
click BtnBatchStart
type CmbExplorer "."
print items LstExplorer

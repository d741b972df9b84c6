# Cancel clicked while picture 5 of 10 is stamped: picture 5 is finished and written, the run
# ends at the poll before picture 6, and no later picture is touched. The log shows five lines.
set PnlTabs 1
type CmbExplorer "pics"
click BtnAddAll
answer folder "out/"
click BtnOutputDir
answer font "DejaVu Sans" 8
click BtnBatchFont
type TxtBatchMark "x"
answer cancel-batch 5
click BtnBatchStart
print enabled BtnBatchStart
print enabled LstBatch
type CmbExplorer "out"
print items LstExplorer

# Entries from a folder start argument show their file names and keep their full paths: sorted
# and moved, each still reaches its own picture, and the log names the full path.
print items LstBatch
click BtnSort
print items LstBatch
select LstBatch 2
click BtnMoveUp
print items LstBatch
answer folder "out/"
click BtnOutputDir
answer font "DejaVu Sans" 8
click BtnBatchFont
type TxtBatchMark "x"
click BtnBatchStart
print image 50

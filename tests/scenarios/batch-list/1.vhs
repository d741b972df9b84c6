# Building the batch list from the explorer: only files with an accepted extension spelling
# are added, an empty file is refused with a message naming it, and nothing stops the same
# file from being listed twice.
set PnlTabs 1
type CmbExplorer "pics"
print items LstExplorer
# The folder, a.jpg, e.Jpg (a spelling the list shows but the batch does not take) and the
# empty file.
select LstExplorer 0 1 5 6
click BtnAddSelected
print items LstBatch
# Everything: the folder and e.Jpg are passed over silently, empty.png is refused again, and
# a.jpg now stands twice.
click BtnAddAll
print items LstBatch
print state LstBatch

# Sorting is descending and blind to case: "pics/B.JPG" sorts between c and a.
click BtnSort
print items LstBatch

# Moving without a selection is refused; the first entry cannot go further up, nor the last
# further down, and neither loses its text.
click BtnMoveUp
select LstBatch 0
click BtnMoveUp
print items LstBatch
select LstBatch 5
click BtnMoveDown
print items LstBatch
click BtnMoveUp
print items LstBatch
print state LstBatch
select LstBatch 0
click BtnMoveDown
print items LstBatch
print state LstBatch

# Removing selects the entry that moved into the removed one's place.
select LstBatch 2
click BtnRemove
print items LstBatch
print state LstBatch
click BtnClear
print items LstBatch

# The output folder: a cancelled requester leaves the start button disabled; a chosen folder
# enables it and is shown; a later cancel keeps the field as it was.
print enabled BtnBatchStart
answer folder cancel
click BtnOutputDir
print enabled BtnBatchStart
answer folder "out/"
click BtnOutputDir
print enabled BtnBatchStart
print text TxtOutputDir
answer folder cancel
click BtnOutputDir
print text TxtOutputDir
print enabled BtnBatchStart

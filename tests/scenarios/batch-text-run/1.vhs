# Text batches: numbered names, a picture name from the settings in place of "img", the tenth
# picture numbered 10, a file listed twice written twice, and kept names that hold JPEG data.
set PnlTabs 1
type CmbExplorer "pics"
print items LstExplorer
select LstExplorer 1 2 3
click BtnAddSelected
answer folder "out/"
click BtnOutputDir
answer font "Liberation Sans" 12 colour 0xFFFFFF
click BtnBatchFont
type TxtBatchMark "Velinor"
click OptBatchTextPos7
answer quality 7
click BtnBatchStart
print enabled BtnBatchStart
print items LstBatch

# The picture name of the settings stands where "img" stood; ten entries number up to 10.
type TxtPictureName "foto"
click BtnSaveSettings
click BtnClear
click BtnAddAll
click BtnAddAll
select LstExplorer 0 1
click BtnAddSelected
answer quality 3
click BtnBatchStart

# Kept names: a.png listed twice is written twice under its own name, with JPEG content; the
# second says it replaced the result of the first, and the warning at the end counts it.
click ChkKeepNames
click BtnClear
select LstExplorer 0
click BtnAddSelected
click BtnAddSelected
answer quality 10
click BtnBatchStart

type CmbExplorer "out"
print items LstExplorer
answer open "out/a.png"
click BtnOpen
print image 45

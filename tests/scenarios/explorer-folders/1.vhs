# The folder combo and the file list of the batch tab follow each other; the list shows
# sub-folders first, then the pictures its pattern matches, whatever the case of the name.
print text LstExplorer
set PnlTabs 1
type CmbExplorer "pics"
print text LstExplorer
print items LstExplorer
select LstExplorer 1 3
print items LstExplorer
print text CmbExplorer
# Read-only fields and disabled buttons take no input.
type TxtOutputDir "elsewhere"
click BtnBatchStart
print enabled BtnBatchStart

# A folder given on the command line is scanned with its sub-folders; only the pictures named
# with one of the exact extensions jpg, JPG, png, PNG, tga, TGA, bmp, BMP reach the batch list.
# Each entry shows its file name and keeps its full path.
print state PnlTabs
print items LstBatch
print image 46
# With thumbnails on, a key press shows the entry picked in the list, fitted into 160 x 140.
click ChkThumb
select LstBatch 0
key "Down"
print image 126
print geometry ImgThumb
select LstBatch 2
key "Down"
print image 126
print geometry ImgThumb
# The explorer list's current file is shown the same way.
type CmbExplorer "scan"
set LstExplorer 2
key "Down"
print image 125
print geometry ImgThumb
# Select-all in the explorer list with Ctrl+A.
key "Ctrl+A"
print items LstExplorer

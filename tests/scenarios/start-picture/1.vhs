# A picture given on the command line opens into both previews; this path makes every large
# picture 180 pixels high, wide ones too. It becomes the picture being edited.
print image 46
print image 57
print geometry ImgSource
print geometry ImgPreview
print state PnlTabs
print items LstBatch

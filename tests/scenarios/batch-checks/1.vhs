# The order of a run's checks and questions.
set PnlTabs 1
# A text run with an empty list stops at once, before the quality window.
click BtnBatchStart
answer folder "out/"
click BtnOutputDir
click BtnBatchStart
# A GIF logo run asks for the key colour before anything else, then stops at the empty list,
# still before the quality window.
answer open "logo.gif"
click BtnBatchLogoFile
set PnlBatchMark 1
answer picker 3 3
click BtnBatchStart

type CmbExplorer "pics"
click BtnAddAll
# A text run asks the quality before it finds that no batch font was chosen ...
set PnlBatchMark 0
click BtnBatchStart
# ... and before it finds the text empty.
answer font "DejaVu Sans" 8
click BtnBatchFont
click BtnBatchStart

# A logo run whose requester was cancelled: the field still shows the old logo, but there is no
# logo file to draw, so the run is refused like an empty field.
answer open cancel
click BtnBatchLogoFile
print text TxtBatchLogoFile
set PnlBatchMark 1
click BtnBatchStart

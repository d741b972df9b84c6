# After the switch to English the windows and messages that come later are English too: the
# batch run's progress window, the open requester after it, the frame panel and its message.
toolbar TbEnglish
set PnlTabs 1
type CmbExplorer "pics"
select LstExplorer 0
click BtnAddSelected
answer folder "out/"
click BtnOutputDir
answer font "Liberation Sans" 12
click BtnBatchFont
type TxtBatchMark "Velinor"
answer quality 5
click BtnBatchStart
set PnlTabs 0
answer open cancel
click BtnOpen
click OptModeFrame
# A script keeps the rule that the panel follows with the next event that is not a control event.
pointer 300 300
click BtnTexUpdate
print text LblTexWidth
print items CmbFrameKind
print text ChkCircleFilled
print text OptModeFrame

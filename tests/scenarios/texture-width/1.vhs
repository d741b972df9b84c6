# A selected size category presets the band width from the next event on.
click OptModeFrame
pointer 5 5
print items TreeTextures
set TreeTextures 8
print text SpinTexWidth
key "Ctrl+A"
print text SpinTexWidth
print state SpinTexWidth
# While Holz16x16 is selected a change of the width lasts only until the next event.
set TreeTextures 4
set SpinTexWidth 20
print state SpinTexWidth
print text SpinTexWidth
# Other categories and the tiles themselves leave the width alone.
set TreeTextures 12
set SpinTexWidth 30
pointer 7 7
print state SpinTexWidth
print text SpinTexWidth
set TreeTextures 9
set SpinTexWidth 40
pointer 8 8
print state SpinTexWidth
set TreeTextures 14
pointer 9 9
print state SpinTexWidth

# Without the picture library the program warns and ends before any window.
print text BtnOpen

# An installed program (in usr/bin/ here) whose data folder lost lang.prf: nothing suggests
# its own folder, which is no runtime folder.
print text BtnOpen

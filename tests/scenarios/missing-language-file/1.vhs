# Started outside the runtime folder: one sentence says which file is missing and where to start.
print text BtnOpen

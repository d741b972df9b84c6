# Started outside a runtime folder, with no installed data beside the program either: one
# sentence says which file is missing, where it was looked for and where to start. The program's
# own folder (velinor/ here, holding lang.prf) is suggested as the runtime folder.
print text BtnOpen

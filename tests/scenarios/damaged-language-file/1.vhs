# A language file without the German texts (here only one English text, as a cut-short or
# foreign file would be) stops the start with the same sentence as a missing one, instead of a
# window whose every text reads "error".
print text BtnOpen

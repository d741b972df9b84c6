# A C++ exception that no handler catches ends in the same report; its line is not known.
fault exception
print text BtnOpen

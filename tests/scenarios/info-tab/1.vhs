# The information tab's button opens the project's download page.
set PnlTabs 3
print text BtnWebsite
click BtnWebsite
print status

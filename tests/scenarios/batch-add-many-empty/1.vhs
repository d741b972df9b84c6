# "Add all" on a folder of many empty files shows one box naming the first five and counting
# them all, instead of one box a file; the good file is added. Two empty files are both named.
set PnlTabs 1
type CmbExplorer "pics"
click BtnAddAll
print items LstBatch
click BtnClear
select LstExplorer 1 2
click BtnAddSelected

--[[ the block opener wins over "--"
so this line is still comment ]] x = 1
-- a line comment --[[ does not open anything
y = 2

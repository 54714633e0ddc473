-- Configuration loader.
local M = {}

--[[ Long comments open with two dashes
     and two brackets. ]] local version = "1.0"

local defaults = {
  width = 80,
  ratio = 0.5e1,
  hex = 0xFF,
  name = 'plumeo',
  escaped = "tab\tquote\"",
}

function M.load(path)
  local file, err = io.open(path, "r")
  if not file then
    return nil, err
  end
  local text = file:read("*a")
  file:close()
  local chunk = [[
raw text with "quotes"
]]
  return setmetatable({}, { __index = defaults }), #text + 1 -- done
end

return M

# Writes to $1 the input script of a short session of the installed program: the
# intro closed, France chosen and simulated, the simulation saved (vk_000.sav),
# the screen dumped (BMP), the table exported (table.csv), each result alert
# closed with Enter, and a screenshot ($2) of the export's alert. Needs
# session_helpers.sh sourced with inf set. Sourced.
write_session_script() {
  local p
  p() { echo "click $*"; echo "wait 200"; }
  {
    echo "wait 500"
    p $(button_centre help done); p $(button_centre message done)
    p $(button_centre top options); p $(item_centre options 0)
    echo "type fran"; echo "key return"; echo "wait 300"; p $(button_centre map done)
    p $(button_centre top simulate)
    p $(button_centre root file); p $(item_centre file 0); echo "key return"; echo "wait 200"; echo "key return"
    p $(button_centre root file); p $(item_centre file 2)
    p $(button_centre dump gfformat); p $(item_centre gfformat 0); p $(button_centre dump dumpscreen)
    echo "key return"; echo "wait 200"
    p $(button_centre root file); p $(item_centre file 3); echo "key return"; echo "wait 200"
    echo "screenshot $2"
    echo "key return"; echo "wait 200"
  } > "$1"
}

# The program's layers, lowest first. Each layer is one library built from the sources of its
# folders and may use only the layers it names (and what those link, for the linker's sake); the
# include check (scripts/check-layers) reads this same table and rejects any #include the table
# does not allow. A layer may only name layers declared above it, so the graph has no cycle.
#
#         layer     folders                  may use
vyk_layer(core      FOLDERS core             USES)
vyk_layer(net       FOLDERS net              USES core)
vyk_layer(draw      FOLDERS draw             USES core)
vyk_layer(account   FOLDERS account          USES core net)
vyk_layer(screen    FOLDERS screen           USES core)
vyk_layer(math      FOLDERS math             USES core draw)
vyk_layer(hotkeys   FOLDERS hotkeys          USES core)
vyk_layer(tutor     FOLDERS tutor            USES core net account screen)
vyk_layer(handsfree FOLDERS handsfree        USES core screen tutor)
vyk_layer(settings  FOLDERS settings         USES core hotkeys tutor)
vyk_layer(glass     FOLDERS glass            USES core draw)
vyk_layer(panel     FOLDERS panel panel/window panel/controllers panel/paint panel/settings_page panel/stealth panel/snip USES core draw account screen math hotkeys tutor handsfree settings glass)
vyk_layer(program   FOLDERS app              USES core net account screen hotkeys tutor settings glass panel)

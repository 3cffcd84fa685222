# What the viewer's tree and info panel say about a node, which the command
# line's info, list and show say too.
tessarine_layer(nodetext
  PORTABLE nodetext.cpp
  DEPENDS pagefile)

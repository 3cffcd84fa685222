# Shell integration: file association and command line.

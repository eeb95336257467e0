název_souboru: x.rsc
mxpocet_bodu_barev: 2
1e39 -5
nan 4294967295

název_souboru: profil5.rsc
mxpocet_bodu_barev: 7
0 0 
20 16744448 
50 16776960 

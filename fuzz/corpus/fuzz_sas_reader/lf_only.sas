Mìøení: profil-sas
Lokalita: Lhota
Datum: 2026-06-02
Uspoøádání: Schlumberger
Souøadnice elektrod [m], proud [mA], napìtí [mV], zdánlivý odpor [Ohm.m]
 No. Time        Ax       Ay      Az       Bx       By      Bz       Mx       My      Mz       Nx       Ny      Nz  I[mA]     U[mV]  Rho[Ohm.m] IP[mV/V] SD[%] Stk SP[mV] Bat[V]
   1    53.9    -1.00     0.00    0.00     1.00     0.00    0.00    -0.50     0.00    0.00     0.50     0.00    0.00   20.3   686.681      79.585    10.13   0.6   3    5.9   12.6
   2   113.2    -1.30     0.00    0.00     1.30     0.00    0.00    -0.50     0.00    0.00     0.50     0.00    0.00   23.1   443.108      86.628    10.57   0.9   3   -7.8   12.6
   3   139.0    -1.68     0.00    0.00     1.68     0.00    0.00    -0.50     0.00    0.00     0.50     0.00    0.00   26.4   321.987      98.677    10.87   0.9   4   -4.3   12.6

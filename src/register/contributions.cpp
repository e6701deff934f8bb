#include "register/contributions.h"

namespace kdm {

bool calculateContributions(DataStore& store, TBZAPOSL& rad) {
  File<TBSTOPE> sto(store);
  if (sto.open()) return false;
  sto.rec.VRSTOBRACUNA = rad.VRSTAUPLA;
  sto.rec.VRSTAOBVEZNIKA = rad.VRSOBV;
  sto.rec.OSNOVOBRA = rad.OSNOVA1;
  sto.rec.STAZ = rad.OSNOVA3;
  sto.rec.CLANDN = rad.CLANDN;
  if (sto.get("KEYOSNOV")) return false;
  rad.PRVISTUP1 = sto.rec.PRVISTUP1;
  rad.PRVISTUP2 = sto.rec.PRVISTUP2;
  rad.IZNOS9 = rad.IZNOS8.percent(rad.PRVISTUP1 + rad.PRVISTUP2);
  rad.DRUGISTUP1 = sto.rec.DRUGISTUP1;
  rad.DRUGISTUP2 = sto.rec.DRUGISTUP2;
  rad.IZNOS10 = rad.IZNOS8.percent(rad.DRUGISTUP1 + rad.DRUGISTUP2);
  return true;
}

bool enterContributions(DataStore& store, TBZAPOSL& rad, bool typedPillar1, bool typedPillar2) {
  TBZAPOSL calculated = rad;
  if (!calculateContributions(store, calculated)) return false;
  if (typedPillar1) calculated.IZNOS9 = rad.IZNOS9;
  if (typedPillar2) calculated.IZNOS10 = rad.IZNOS10;
  rad = calculated;
  return true;
}

}  // namespace kdm

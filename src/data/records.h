// Record structs of every label, one per label and named by it, with the
// fields in declaration order under their documented names: `pos.NAZIV`.
//
// The field lists below are the single declaration of each layout: the
// catalogue builds its field definitions from the same lists, and
// toRecord/fromRecord move a struct into and out of the generic Record
// the record layer works on. Two prefixes on one file share a struct
// (TBZAPOSL serves RAD and RAD1, TBOSIGUR serves OSI and RAD2).
#pragma once

#include <cstdint>
#include <string>

#include "data/record.h"
#include "platform/date.h"
#include "platform/decimal.h"

// F(name, type, width, scale); type is one of FieldType's names.
#define KDM_FIELDS_TBPOSLOD(F)                                                                       \
  F(REDBROJ, Short, 0, 0) F(MB01, String, 8, 0) F(MB02, String, 4, 0) F(JMBG, String, 13, 0)         \
  F(NAZIV, String, 50, 0) F(ADRESA, String, 50, 0) F(KONTAKT, String, 50, 0) F(TELEFON, String, 10, 0) \
  F(EMAIL, String, 30, 0) F(VRSTOBVEZNIKA, String, 2, 0) F(IDENTIFIKATOR, Short, 0, 0)                 \
  F(OBRGOD, Short, 0, 0) F(DANOD, Date, 0, 0) F(DANDO, Date, 0, 0)

#define KDM_FIELDS_TBZAPOSL(F)                                                                        \
  F(REDBROJ, Short, 0, 0) F(JMBG, String, 13, 0) F(PREZIME, String, 60, 0) F(OPCINA, String, 4, 0)    \
  F(VRSOBV, String, 2, 0) F(VRSTAUPLA, String, 2, 0) F(CLANDN, String, 1, 0) F(OSNOVA1, String, 2, 0) \
  F(OSNOVA3, String, 1, 0) F(OSNOVA4, String, 1, 0) F(OSNOVA5, String, 4, 0) F(GODOBRA, Short, 0, 0)  \
  F(MJEOBRA, Short, 0, 0) F(ODDANA, Short, 0, 0) F(DODANA, Short, 0, 0) F(IZNOS7, Decimal, 11, 2)     \
  F(IZNOS8, Decimal, 15, 2) F(IZNOS9, Decimal, 15, 2) F(IZNOS10, Decimal, 15, 2)                      \
  F(IZNOS11, Decimal, 15, 2) F(PRVISTUP1, Decimal, 5, 2) F(PRVISTUP2, Decimal, 5, 2)                  \
  F(DRUGISTUP1, Decimal, 5, 2) F(DRUGISTUP2, Decimal, 5, 2)

#define KDM_FIELDS_TBOBRAZA(F)                                                                        \
  F(IDENTIFIKATOR, String, 7, 0) F(OBRMJE, String, 2, 0) F(OBRGOD, String, 4, 0)                      \
  F(VRSUPLA, String, 2, 0) F(BROJOSIG, Long, 0, 0) F(BROJSTRANA, Long, 0, 0) F(MB01, String, 8, 0)    \
  F(MB02, String, 4, 0) F(JMBG, String, 13, 0) F(NAZIV, String, 60, 0) F(ADRESA, String, 60, 0)       \
  F(KONTAKT, String, 50, 0) F(TELEFON, String, 10, 0) F(EMAI, String, 30, 0)                          \
  F(VRSTOBVEZNIKA, String, 2, 0) F(IZNOS7, Decimal, 13, 2) F(IZNOS8, Decimal, 13, 2)                  \
  F(IZNOS9, Decimal, 13, 2) F(IZNOS10, Decimal, 13, 2) F(IZNOS11, Decimal, 13, 2)                     \
  F(KONZNAK, String, 43, 0) F(KONVEZA, String, 9, 0) F(GODPLA, String, 4, 0) F(MJEPLA, String, 2, 0)

// Page-B rows; the print copy TBOSIGU1 has the same layout.
#define KDM_FIELDS_TBOSIGUR(F)                                                                        \
  F(RBOSOB, String, 5, 0) F(JMBG, String, 13, 0) F(PREZIME, String, 60, 0) F(OPCINA, String, 4, 0)    \
  F(CLANDN, String, 1, 0) F(OSNOVA1, String, 2, 0) F(OSNOVA3, String, 1, 0) F(OBRRAZD1, Short, 0, 0)  \
  F(OBRRAZD2, Short, 0, 0) F(IZNOS7, Decimal, 13, 2) F(IZNOS8, Decimal, 13, 2)                        \
  F(IZNOS9, Decimal, 13, 2) F(IZNOS10, Decimal, 13, 2) F(IZNOS11, Decimal, 13, 2)                     \
  F(GODOBRA, Short, 0, 0) F(OBRMJE, Short, 0, 0) F(IDENTIFIKATOR, String, 7, 0)                       \
  F(VRSUPL, String, 2, 0) F(KONVEZA, String, 9, 0) F(STOPA1, Decimal, 5, 2) F(STOPA2, Decimal, 5, 2)  \
  F(STOPA11, Decimal, 5, 2) F(STOPA22, Decimal, 5, 2)

#define KDM_FIELDS_TBUPLATE(F)                                                                        \
  F(RBOSOB, String, 5, 0) F(MB, String, 12, 0) F(MB2, String, 13, 0) F(VRSOBV, String, 2, 0)          \
  F(VRSTAUPLA, String, 2, 0) F(IDENTIFIKATOR, String, 4, 0) F(GODOBRA, String, 4, 0)                  \
  F(OBRMJE, String, 2, 0) F(OBRRAZD1, String, 2, 0) F(OBRRAZD2, String, 2, 0) F(JMBG, String, 13, 0)  \
  F(PREZIME, String, 50, 0) F(OPCINA, String, 4, 0) F(CLANDN, String, 1, 0) F(OSNOVA1, String, 2, 0)  \
  F(OSNOVA3, String, 1, 0) F(IZNOS7, String, 15, 0) F(IZNOS8, String, 15, 0) F(IZNOS9, String, 15, 0) \
  F(IZNOS10, String, 15, 0) F(IZNOS11, String, 15, 0)

#define KDM_FIELDS_TBVRSOBV(F)                                                                        \
  F(SIFRA, String, 2, 0) F(SKROPIS, String, 80, 0) F(OPIS, String, 240, 0) F(MB01, String, 2, 0)      \
  F(MBG, String, 2, 0)

#define KDM_FIELDS_TBVRSUPL(F) F(SIFRA, String, 2, 0) F(SKROPIS, String, 80, 0) F(OPIS, String, 120, 0)

#define KDM_FIELDS_TBOSNOBR(F) F(SIFRA, String, 2, 0) F(SKROPIS, String, 80, 0) F(OPIS, String, 240, 0)

#define KDM_FIELDS_TBOZNSTA(F) F(SIFRA, String, 1, 0) F(SKROPIS, String, 80, 0) F(OPIS, String, 180, 0)

#define KDM_FIELDS_TBSTOPE(F)                                                                         \
  F(CLANDN, String, 1, 0) F(VRSTOBRACUNA, String, 2, 0) F(VRSTAOBVEZNIKA, String, 2, 0)               \
  F(OSNOVOBRA, String, 2, 0) F(STAZ, String, 1, 0) F(PRVISTUP1, Decimal, 5, 2)                        \
  F(PRVISTUP2, Decimal, 5, 2) F(DRUGISTUP1, Decimal, 5, 2) F(DRUGISTUP2, Decimal, 5, 2)

#define KDM_FIELDS_TBOPCINE(F)                                                                        \
  F(REDBROJ, Short, 0, 0) F(GRAD, String, 1, 0) F(NAZIV, String, 40, 0) F(SIFRA, String, 4, 0)        \
  F(POREZ, Decimal, 5, 2) F(PRIREZ, Decimal, 5, 2)

#define KDM_FIELDS_VEZNATAB(F)                                                                        \
  F(VOB, String, 2, 0) F(VOI, String, 2, 0) F(OO, String, 2, 0) F(OBRMJE, String, 4, 0)               \
  F(GODINA, String, 4, 0) F(DANOD, String, 4, 0) F(DANDO, String, 4, 0) F(PLAGOD, String, 4, 0)       \
  F(PLAMJE, String, 4, 0) F(IZNOS7, String, 4, 0) F(IZNOS8, String, 4, 0) F(IZNOS9, String, 4, 0)     \
  F(IZNOS10, String, 4, 0) F(IZNOS11, String, 4, 0)

#define KDM_FIELDS_STABLO01(F) F(VOB, String, 2, 0) F(NAZIV, String, 80, 0)
#define KDM_FIELDS_STABLO02(F) F(VOB, String, 2, 0) F(VOI, String, 2, 0) F(NAZIV, String, 80, 0)
#define KDM_FIELDS_STABLO03(F) \
  F(VOI, String, 2, 0) F(OO, String, 2, 0) F(VOB, String, 2, 0) F(NAZIV, String, 80, 0)

#define KDM_FIELDS_TBPOPGRE(F)                                                                        \
  F(REDBROJ, Short, 0, 0) F(ID, String, 15, 0) F(SAZETAK, String, 100, 0) F(OZNAKA, String, 1, 0)     \
  F(TIP, String, 1, 0) F(DETOPIS, Memo, 1000, 0)

#define KDM_FIELDS_APLPARAM(F)                                                                        \
  F(RB, Short, 0, 0) F(MB01, String, 8, 0) F(MB02, String, 4, 0) F(JMBG, String, 13, 0)               \
  F(NAZIV, String, 50, 0) F(ADRESA, String, 50, 0) F(KONOSO, String, 50, 0) F(TELEFON, String, 10, 0) \
  F(EMAIL, String, 30, 0) F(NAZSJED, String, 40, 0) F(SIFSJED, String, 4, 0)                          \
  F(RADDIR, String, 128, 0) F(ULAZDIR, String, 128, 0) F(IZLAZDIR, String, 128, 0)

#define KDM_FIELDS_TEXTSIF(F) F(REDAK, String, 500, 0)

// Lines of an imported payroll file: TBOSIGU2 keeps four decimals.
#define KDM_FIELDS_IMPORTED(F, P, S)                                                                  \
  F(RBOSOB, String, 5, 0) F(JMBG, String, 13, 0) F(PREZIME, String, 60, 0) F(OPCINA, String, 4, 0)    \
  F(CLANDN, String, 1, 0) F(OSNOVA1, String, 2, 0) F(OSNOVA3, String, 1, 0) F(OBRRAZD1, Short, 0, 0)  \
  F(OBRRAZD2, Short, 0, 0) F(IZNOS7, Decimal, P, S) F(IZNOS8, Decimal, P, S) F(IZNOS9, Decimal, P, S) \
  F(IZNOS10, Decimal, P, S) F(IZNOS11, Decimal, P, S) F(GODOBRA, Short, 0, 0) F(OBRMJE, Short, 0, 0)  \
  F(VRSUPL, String, 2, 0)
#define KDM_FIELDS_TBOSIGU2(F) KDM_FIELDS_IMPORTED(F, 15, 4)
#define KDM_FIELDS_TBOSIGU3(F) KDM_FIELDS_IMPORTED(F, 13, 2)

#define KDM_FIELDS_TBGRESKE(F)                                                                        \
  F(RB, Long, 0, 0) F(TIP, Short, 0, 0) F(OPIS, String, 80, 0) F(MB, String, 12, 0)                  \
  F(MB2, String, 13, 0) F(VRSOBV, String, 2, 0) F(VRSTAUPLA, String, 2, 0)                            \
  F(IDENTIFIKATOR, String, 4, 0) F(GODOBRA, String, 4, 0) F(OBRMJE, String, 2, 0)                     \
  F(OBRRAZD1, String, 2, 0) F(OBRRAZD2, String, 2, 0) F(JMBG, String, 13, 0) F(PREZIME, String, 50, 0) \
  F(OPCINA, String, 4, 0) F(CLANDN, String, 1, 0) F(OSNOVA1, String, 2, 0) F(OSNOVA3, String, 1, 0)   \
  F(IZNOS7, String, 15, 0) F(IZNOS8, String, 15, 0) F(IZNOS9, String, 15, 0) F(IZNOS10, String, 15, 0) \
  F(IZNOS11, String, 15, 0)

#define KDM_FIELDS_TBTMPDAT(F)                                                                        \
  F(FIRMA, Short, 0, 0) F(MB01, String, 12, 0) F(MB02, String, 13, 0) F(IMEFIRME, String, 50, 0)      \
  F(IDENTIFIKATOR, String, 9, 0) F(IMEFILE, String, 60, 0) F(BROJOBR, Short, 0, 0)

#define KDM_FIELDS_TBIZLAZ(F)                                                                         \
  F(REDBROJ, Long, 0, 0) F(TIPSLOGA, String, 1, 0) F(GRESKA, String, 1, 0) F(REDAK1, String, 50, 0)   \
  F(REDAK2, String, 50, 0) F(REDAK3, String, 50, 0) F(REEDAK4, String, 50, 0) F(REDAK5, String, 50, 0)

#define KDM_FIELDS_TBIZLAZ1(F)                                                                        \
  F(REDBROJ, Long, 0, 0) F(KOLONA, String, 10, 0) F(TIP, String, 1, 0) F(PREZIME, String, 50, 0)      \
  F(GRESKA, String, 140, 0)

#define KDM_FIELDS_ZAP2004(F)                                                                         \
  F(REDBROJ, Short, 0, 0) F(JMBG, String, 13, 0) F(PREZIME, String, 60, 0) F(OPCINA, String, 4, 0)    \
  F(VRSOBV, String, 2, 0) F(VRSTAUPLA, String, 2, 0) F(CLANDN, String, 1, 0) F(OSNOVA1, String, 2, 0) \
  F(OSNOVA2, String, 1, 0) F(OSNOVA3, String, 1, 0) F(OSNOVA4, String, 1, 0) F(OSNOVA5, String, 4, 0) \
  F(GODOBRA, Short, 0, 0) F(MJEOBRA, Short, 0, 0) F(ODDANA, Short, 0, 0) F(DODANA, Short, 0, 0)       \
  F(IZNOS6, Decimal, 13, 2) F(IZNOS7, Decimal, 11, 2) F(IZNOS12, Decimal, 7, 2)                       \
  F(IZNOS13, Decimal, 11, 2) F(IZNOS8, Decimal, 15, 2) F(IZNOS9, Decimal, 15, 2)                      \
  F(IZNOS10, Decimal, 15, 2) F(IZNOS11, Decimal, 15, 2) F(IZNOS14, Decimal, 15, 2)                    \
  F(IZNOS15, Decimal, 15, 2) F(IZNOS16, Decimal, 15, 2) F(IZNOS81, Decimal, 15, 2)                    \
  F(IZNOS91, Decimal, 15, 2) F(IZNOS101, Decimal, 15, 2) F(IZNOS111, Decimal, 15, 2)                  \
  F(IZNOS141, Decimal, 15, 2) F(IZNOS151, Decimal, 15, 2) F(KOEF1, Decimal, 5, 2)                     \
  F(PRVISTUP1, Decimal, 5, 2) F(PRVISTUP2, Decimal, 5, 2) F(DRUGISTUP1, Decimal, 5, 2)                \
  F(DRUGISTUP2, Decimal, 5, 2) F(ZDRAV1, Decimal, 5, 2) F(ZDRAV2, Decimal, 5, 2)                      \
  F(ZAPOS1, Decimal, 5, 2) F(ZAPOS2, Decimal, 5, 2) F(STOPAINVAL, Decimal, 5, 2)

// Whole lines of the submission file and its work files.
#define KDM_FIELDS_TBVALTA(F) F(REDAK, String, 250, 0)
#define KDM_FIELDS_TBVALTA1(F) F(REDAK, String, 249, 0) F(TIP, String, 1, 0)

#define KDM_FIELDS_TBIZLAZ2(F)                                                                        \
  F(REDBROJ, String, 5, 0) F(ZNA1, String, 1, 0) F(KOLONA, String, 10, 0) F(ZNA2, String, 1, 0)       \
  F(TIP, String, 1, 0) F(ZNA3, String, 1, 0) F(GRESKA, String, 70, 0)

#define KDM_FIELDS_TEKSTDAT(F) F(RED, String, 80, 0)

namespace kdm {

template <FieldType T> struct CppFieldType;
template <> struct CppFieldType<FieldType::String> { using type = std::string; };
template <> struct CppFieldType<FieldType::Memo> { using type = std::string; };
template <> struct CppFieldType<FieldType::Short> { using type = std::int16_t; };
template <> struct CppFieldType<FieldType::Long> { using type = std::int32_t; };
template <> struct CppFieldType<FieldType::Date> { using type = Date; };
template <> struct CppFieldType<FieldType::Decimal> { using type = Decimal; };

#define KDM_MEMBER(name, kind, width, scale) CppFieldType<FieldType::kind>::type name{};

#define KDM_DECLARE_RECORD(Struct, FIELDS)          \
  struct Struct {                                   \
    static constexpr const char* kLabel = #Struct;  \
    FIELDS(KDM_MEMBER)                              \
  };                                                \
  void toRecord(const Struct& from, Record& to);    \
  void fromRecord(const Record& from, Struct& to);

KDM_DECLARE_RECORD(TBPOSLOD, KDM_FIELDS_TBPOSLOD)
KDM_DECLARE_RECORD(TBZAPOSL, KDM_FIELDS_TBZAPOSL)
KDM_DECLARE_RECORD(TBOBRAZA, KDM_FIELDS_TBOBRAZA)
KDM_DECLARE_RECORD(TBOSIGUR, KDM_FIELDS_TBOSIGUR)
KDM_DECLARE_RECORD(TBUPLATE, KDM_FIELDS_TBUPLATE)
KDM_DECLARE_RECORD(TBVRSOBV, KDM_FIELDS_TBVRSOBV)
KDM_DECLARE_RECORD(TBVRSUPL, KDM_FIELDS_TBVRSUPL)
KDM_DECLARE_RECORD(TBOSNOBR, KDM_FIELDS_TBOSNOBR)
KDM_DECLARE_RECORD(TBOZNSTA, KDM_FIELDS_TBOZNSTA)
KDM_DECLARE_RECORD(TBSTOPE, KDM_FIELDS_TBSTOPE)
KDM_DECLARE_RECORD(TBOPCINE, KDM_FIELDS_TBOPCINE)
KDM_DECLARE_RECORD(VEZNATAB, KDM_FIELDS_VEZNATAB)
KDM_DECLARE_RECORD(STABLO01, KDM_FIELDS_STABLO01)
KDM_DECLARE_RECORD(STABLO02, KDM_FIELDS_STABLO02)
KDM_DECLARE_RECORD(STABLO03, KDM_FIELDS_STABLO03)
KDM_DECLARE_RECORD(TBPOPGRE, KDM_FIELDS_TBPOPGRE)
KDM_DECLARE_RECORD(APLPARAM, KDM_FIELDS_APLPARAM)
KDM_DECLARE_RECORD(TEXTSIF, KDM_FIELDS_TEXTSIF)
KDM_DECLARE_RECORD(TBOSIGU1, KDM_FIELDS_TBOSIGUR)
KDM_DECLARE_RECORD(TBOSIGU2, KDM_FIELDS_TBOSIGU2)
KDM_DECLARE_RECORD(TBOSIGU3, KDM_FIELDS_TBOSIGU3)
KDM_DECLARE_RECORD(TBGRESKE, KDM_FIELDS_TBGRESKE)
KDM_DECLARE_RECORD(TBTMPDAT, KDM_FIELDS_TBTMPDAT)
KDM_DECLARE_RECORD(TBIZLAZ, KDM_FIELDS_TBIZLAZ)
KDM_DECLARE_RECORD(TBIZLAZ1, KDM_FIELDS_TBIZLAZ1)
KDM_DECLARE_RECORD(ZAP2004, KDM_FIELDS_ZAP2004)
KDM_DECLARE_RECORD(TBVALTA, KDM_FIELDS_TBVALTA)
KDM_DECLARE_RECORD(TBVALTA1, KDM_FIELDS_TBVALTA1)
KDM_DECLARE_RECORD(TBIZLAZ2, KDM_FIELDS_TBIZLAZ2)
KDM_DECLARE_RECORD(TEKSTDAT, KDM_FIELDS_TEKSTDAT)

#undef KDM_DECLARE_RECORD

}  // namespace kdm

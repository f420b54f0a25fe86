#include "cipher/cipher.h"

#include <gtest/gtest.h>

#include "support/test_text.h"

namespace shifrodel {
namespace {

using testing::W;

struct CipherCase {
  const char* name;  // UTF-8
  const char* fund;
  const char* inventory;
  const char* case_file;
  const char* sheet;
  const char* tail;
};

TEST(ParseCipher, WorkedExamples) {
  const CipherCase cases[] = {
      {"ф 12 оп 1 д 45 л 3.tif", "12", "1", "45", "3", ""},
      {"Ф.12.Оп.1.Д.45.Л.3.tif", "12", "1", "45", "3", ""},
      {"ф. 12, оп. 1, д. 45, л. 3.tif", "12", "1", "45", "3", ""},
      {"ф,12,оп,1.tif", "12", "1", "", "", ""},
      {"ф   12   оп   1.tif", "12", "1", "", "", ""},
      {"Ф Р-12 ОП 1 Д 45А Л 3ОБ.JPG", "р-12", "1", "45а", "3об", ""},
      {"ф 12 оп 1 д 45 л 3 фото.tif", "12", "1", "45", "3", "фото"},
      {"ф 12 оп 1 д 45 л 3 ФОТО.TIF", "12", "1", "45", "3", "ФОТО"},
      {"ф 12 оп 1 д 45 л 3.об.tif", "12", "1", "45", "3", "об"},
      {"ф 12 оп 1 д 45 л 3,4.tif", "12", "1", "45", "3", "4"},
      {"ф 12 оп 1 д 45 л 3-4.tif", "12", "1", "45", "3-4", ""},
      {"ф 12 оп 1 д 45 л 3 скан.tif исправленный.tif", "12", "1", "45", "3", "скан"},
      {"ф 12 оп 1 д 45 л 3 скан, копия.tif", "12", "1", "45", "3", "скан, копия"},
      {"ф 12 оп 1 д 45 л 3 фото", "12", "1", "45", "3", ""},
      {"ф 12 оп 1 д 45 лист 3.tif", "12", "1", "45", "", "лист 3"},
      {"ф 12, оп 1, д 45, фото.tif", "12", "1", "45", "", "фото"},
      {"ф 12 оп 1 фото...tif", "12", "1", "", "", "фото."},
      {"ф 12 фото.tif", "12", "", "", "", "фото"},
      {"ф 12 д 5.tif", "12", "", "", "", "д 5"},
      {"ф 12 о , д 5.tif", "12", "", "5", "", ""},
      {"ф 12 фото.png", "12", "", "", "", "фото.png"},
      {"ф.tif", "tif", "", "", "", ""},
      {"ф , фото.tif", "", "", "", "", "фото"},
      {"фото 1.jpg", "", "", "", "", ""},
      {"Ф12 оп 1.tif", "", "", "", "", ""},
      {" ф 12 оп 1.tif", "", "", "", "", ""},
      // Edge cases around the items and the extension.
      {"ф 12 оп 1 д 45 л 3.jpg.jpg", "12", "1", "45", "3", "jpg"},
      {"ф 12 оп 1 д 45 л 3 ФОТО.tif.TIF", "12", "1", "45", "3", "ФОТО"},
      {"ф 12 оп 1 д 45.tif", "12", "1", "45", "", ""},
      {"ф 12.tif", "12", "", "", "", ""},
      {"ф 12 ,фото.tif", "12", "", "", "", "фото"},
      {"ф .tif", "", "", "", "", ""},
      {"ОП 1 ф 12.tif", "", "", "", "", ""},
      {"f 12 op 1.tif", "", "", "", "", ""},  // Latin look-alikes are no keys
      {"ф 12 опись 1.tif", "12", "", "", "", "опись 1"},
      {"ф 12 оП 1 Д 2 л 3об скан.Jpeg", "12", "1", "2", "3об", "скан"},
      {"ф 12 оп 1 д 45 л 3 фото.tiff.bak", "12", "1", "45", "3", "фото.tiff.bak"},
      {"ф 12\t оп 1.tif", "12", "1", "", "", ""},  // a tab is part of a token, then trimmed
  };
  for (const CipherCase& c : cases) {
    const TCipher got = ParseCipher(W(c.name));
    const TCipher want{W(c.fund), W(c.inventory), W(c.case_file), W(c.sheet), W(c.tail)};
    EXPECT_EQ(got, want) << c.name << " -> [" << got.Fund << "|" << got.Inventory << "|"
                         << got.CaseFile << "|" << got.Sheet << "|" << got.Tail << "]";
  }
}

TEST(ParseCipher, ValuesHaveNoSeparatorsAndTailHasNoBlankEnds) {
  const char* names[] = {"ф  12 ,, оп .. 1 д\t45 л 3  \x01 .tif", "ф 1 о 2 д 3 л 4 , x ,.tif",
                         "ф\x01 1.tif", "ф 1 оп 2 д 3 л 4 \x02 x \x02.jpeg"};
  for (const char* name : names) {
    const TCipher c = ParseCipher(W(name));
    for (const std::string* v : {&c.Fund, &c.Inventory, &c.CaseFile, &c.Sheet}) {
      EXPECT_EQ(v->find_first_of(" ,."), std::string::npos) << name;
      if (!v->empty()) {
        EXPECT_GT(static_cast<unsigned char>(v->front()), 0x20) << name;
        EXPECT_GT(static_cast<unsigned char>(v->back()), 0x20) << name;
      }
    }
    if (!c.Tail.empty()) {
      EXPECT_GT(static_cast<unsigned char>(c.Tail.front()), 0x20) << name;
      EXPECT_GT(static_cast<unsigned char>(c.Tail.back()), 0x20) << name;
    }
  }
}

}  // namespace
}  // namespace shifrodel

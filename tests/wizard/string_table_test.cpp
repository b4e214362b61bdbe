#include <gtest/gtest.h>

#include <set>

#include "wizard/string_table.h"

namespace {

using wizard::Language;
using wizard::LoadResString;
using wizard::SetLanguageForTesting;
using wizard::TryLoadResString;

struct Expected {
  int16_t Id;
  const char* English;
  const char* Polish;
};

// The whole table, both languages, as the product's texts are defined.
const Expected kExpected[] = {
    {100, "Help", "Pomoc"},
    {101, "Cancel", "Anuluj"},
    {102, "< Back", "< Cofnij"},
    {103, "Next >", "Dalej >"},
    {104, "Finish", "Zakończ"},
    {105, "---------------------", "---------------------"},
    {110, "Creating file:", "Tworzenie pliku:"},
    {111, "Successfully completed", "Zakończono pomyślnie."},
    {112, "Are you sure?", "Czy jesteś pewien?"},
    {113, "Removing car", "Usuwanie samochodu"},
    {114, "Creating RIGBOX...", "Tworzenie RIGBOX'a..."},
    {115, "Extracting RIGBOX...", "Rozpakowanie RIGBOX'a..."},
    {116, "Error!", "Wystąpiły błędy!"},
    {117, "A car with this ID already exists. Do you want to replace it?",
     "Samochód o tym identyfikatorze już istnieje. Czy chcesz go zastąpić?"},
    {118, "Warning", "Uwaga"},
    {119,
     "The car with the ID %1 uses the painting no %2. Are you sure you want to change the number of "
     "painings?",
     "Samochód o identyfikatorze %1 używa malowania nr %2. Czy na pewno chcesz zmienic ilość malowań?"},
    {120, "Installed, but some game files could not be updated",
     "Zainstalowano, ale nie udało się zaktualizować niektórych plików gry"},
    {200, "Select game's directory", "Wybór katalogu z grą"},
    {201, "Please select the directory where Gravelon is installed.",
     "Wskaż katalog  w którym znajduje się gra Gravelon."},
    {202,
     "If the directory is correct please click Next. To change the directory click Change and choose "
     "another.",
     "Jeżeli podany katalog jest prawidłowy kliknij Dalej. Aby zmienić katalog kliknij Zmień i wybierz "
     "inny."},
    {203, "Game's directory", "Katalog gry"},
    {204, "Change...", "Zmień..."},
    {205, "Select Gravelon directory", "Wybierz katalog z grą Gravelon:"},
    {206, "------------------------", "----------------------"},
    {300, "Choosing operation", "Wybór operacji"},
    {301, "What do you want to do?", "Co chcesz zrobić?"},
    {302, "Choose an operation and click Next.", "Wybierz operację i kliknij Dalej."},
    {303, "Creating car's template", "Tworzenie szablonu samochodu"},
    {304, "Deleting a car", "Usunięcie samochodu"},
    {305, "Editing a car", "Edycja samochodu "},
    {306, "Creating a RIGBOX", "Tworzenie RIGBOX'a"},
    {307, "Extracting a RIGBOX", "Rozpakowanie RIGBOX'a"},
    {308, "---------------------", "---------------------"},
    {400, "Choosing car's parameters", "Wybór parametrów samochodu"},
    {401, "Enter basic car's parameters.", "Podaj podstawowe parametry samochodu."},
    {402, "Enter parameters and click Next", "Podaj parametry i kliknij Dalej"},
    {403, "Car's ID", "Identyfikator samochodu"},
    {404, "Car's name", "Nazwa Samochodu"},
    {405, "Group", "Grupa"},
    {406, "Number of paintjob", "Ilość malowań"},
    {407, "Generate", "Wygeneruj"},
    {408, "Advanced", "Zaawansowane"},
    {409, "----------------------------", "----------------------------"},
    {500, "Choosing parts", "Wybór części"},
    {501, "What separate parts should the car have?", "Jakie osobne części powinien mieć samochód?"},
    {502, "Choose the parts that are supposed to have separate meshes and click Next.",
     "Wybierz części które mają mieć osobną geometrię i kliknij Dalej"},
    {510, "Standard parts", "Części standardowe"},
    {511, "Exhaust pipe", "Rura wydechowa"},
    {512, "Bonnet", "Maska"},
    {513, "Spoiler", "Spoiler"},
    {514, "Bumpers", "Zderzaki"},
    {515, "Doors", "Drzwi"},
    {520, "Animated parts", "Części animowane"},
    {521, "Antenna", "Antena"},
    {522, "Wipers", "Wycieraczki"},
    {523, "---------------------------", "---------------------------"},
    {600, "Operation in progress", "Wykonywanie operacji"},
    {601, "The chosen operation is in progress", "Wybrana operacja jest wykonywana."},
    {602, "When the operation is finished click Finish.", "Gdy operacja zostanie zakończona kliknij Zakończ"},
    {700, "Choosing wheels", "Wybór kół"},
    {701, "What type of wheels should the car have?", "Jakie typy kół powinien mieć Twoj samochód?"},
    {702, "Choose the wheels your car is supposed to use and click Next.",
     "Wybierz koła z jakich będzie mógł korzystać samochód i kliknij Dalej."},
    {703, "----------------------", "----------------------"},
    {800, "Ready", "Gotowy"},
    {801, "The Wizard is ready to complete the operation",
     "Kreator jest gotowy do zakończenia wybranej operacji."},
    {802, "Click Next to continue.", "Aby kontynuować kliknij Dalej."},
    {803,
     "WARNING! Before completing the operation you should backup your existing profiles (Data\\Profiles\\). "
     "They may not work correctly. After finishing the operation a new profile should be created.",
     "UWAGA! Przed zakończeniem operacji należy stworzyć kopie zapasowe istniejących profili "
     "(Data\\Profiles\\). Mogą one nie działać poprawnie. Po zakończeniu operacji należy stworzyć nowy "
     "profil."},
    {804, "-----------------", "-----------------"},
    {900, "Selecting a car", "Wybór samochodu"},
    {901, "Choose a car", "Wybierz samochód"},
    {902, "Choose a car from the below list and click Next",
     "Wybierz samochód z poniższej listy i kliknij Dalej."},
    {903, "Make EXE file (SFX)", "Twórz plik EXE (SFX)"},
    {10000, "Error", "Błąd"},
    {10001, "Error while creating file", "Błąd tworzenia pliku."},
    {10002, "The selected directory does not contain Gravelon!",
     "Wskazany katalog nie zawiera gry Gravelon!"},
    {10003, "Please choose at least one wheels type!", "Proszę wybrać przynajmniej jeden typ kół!"},
    {10004, "Invalid car's ID. The ID should consist of at least 3 characters.\r\nValid characters:  ",
     "Nieprawidłowy identyfikator samochodu. Identyfikator samochodu powinien zawierac minimum 3 "
     "znaki.\r\nDozwolone znaki:  "},
    {10005, "Error while creating folder", "Błąd tworzenia foldera."},
    {10006, "<Game not installed>", "<Gra nie jest zainstalowana>"},
    {10007, "ID reserved.", "Identyfikator zastrzeżony."},
    {10008, "ID reserved.", "Identyfikator zastrzeżony."},
    {10009, "the file is missing", "brak pliku"},
    {10010, "the file cannot be opened for appending", "nie można otworzyć pliku do dopisania"},
    {10011, "writing to the file failed", "zapis do pliku nie powiódł się"},
    {11000, nullptr, "----------------------"},
    {11001, "Enable", "Włącz"},
    {11002, "Turbo", "Turbo"},
    {11003, "Height [mm]", "Wysokość [mm]"},
    {11004, "Length [mm]", "Długość [mm]"},
    {11005, "Width [mm]", "Szerokość [mm]"},
    {11006, "Produced in", "Wyprodukowany w"},
    {11007, "Power [bhp]", "Moc [bhp]"},
    {11008, "Torque [Nm]", "Moment obr.[Nm]"},
    {11009, "Torque [rpm]", "Moment obr.[rpm]"},
    {11010, "Drive", "Napęd"},
    {11011, "Engine Type", "Typ Silnika"},
    {11012, "Paintjob", "Nr Malowania"},
    {11013, "Buy price", "Cena"},
    {11014, "Weight [kg]", "Waga [kg]"},
    {11015, "Displacement [ccm]", "Pojemność [ccm]"},
};

class WizardStringTable : public ::testing::Test {
 protected:
  void TearDown() override { SetLanguageForTesting(std::nullopt); }
};

TEST_F(WizardStringTable, EveryEntryInBothLanguages) {
  for (const Expected& entry : kExpected) {
    SCOPED_TRACE(entry.Id);
    std::optional<std::string> english = TryLoadResString(entry.Id, Language::English);
    if (entry.English == nullptr) {
      EXPECT_FALSE(english.has_value());
    } else {
      ASSERT_TRUE(english.has_value());
      EXPECT_EQ(*english, entry.English);
    }
    std::optional<std::string> polish = TryLoadResString(entry.Id, Language::Polish);
    ASSERT_TRUE(polish.has_value());
    EXPECT_EQ(*polish, entry.Polish);
  }
}

TEST_F(WizardStringTable, HoldsNoOtherIds) {
  std::set<int16_t> expected;
  for (const Expected& entry : kExpected) expected.insert(entry.Id);
  EXPECT_EQ(expected.size(), 100u);
  for (int id = -32768; id <= 32767; ++id) {
    if (expected.count(static_cast<int16_t>(id)) != 0) continue;
    ASSERT_FALSE(TryLoadResString(static_cast<int16_t>(id), Language::English).has_value()) << id;
    ASSERT_FALSE(TryLoadResString(static_cast<int16_t>(id), Language::Polish).has_value()) << id;
  }
}

// Spot checks with the bytes spelled out, independent of the source file's
// encoding: line breaks, trailing blanks, Polish letters in UTF-8.
TEST_F(WizardStringTable, InvalidIdTextHasCrLfAndTwoTrailingBlanks) {
  EXPECT_EQ(TryLoadResString(10004, Language::English).value(),
            std::string("Invalid car's ID. The ID should consist of at least 3 characters.") + '\x0D' +
                '\x0A' + "Valid characters:\x20\x20");
  EXPECT_EQ(
      TryLoadResString(10004, Language::Polish).value(),
      std::string("Nieprawid\xC5\x82owy identyfikator samochodu. Identyfikator samochodu powinien zawierac "
                  "minimum 3 znaki.") +
          '\x0D' + '\x0A' + "Dozwolone znaki:\x20\x20");
}

TEST_F(WizardStringTable, PolishEditingACarEndsWithABlank) {
  EXPECT_EQ(TryLoadResString(305, Language::Polish).value(), "Edycja samochodu\x20");
  EXPECT_EQ(TryLoadResString(305, Language::English).value(), "Editing a car");
}

TEST_F(WizardStringTable, IdElevenThousandIsPolishOnly) {
  EXPECT_EQ(TryLoadResString(11000, Language::Polish).value(), "----------------------");
  EXPECT_FALSE(TryLoadResString(11000, Language::English).has_value());
  SetLanguageForTesting(Language::English);
  EXPECT_FALSE(TryLoadResString(11000).has_value());
  EXPECT_EQ(LoadResString(11000), "");
}

TEST_F(WizardStringTable, PlaceholdersStayAsWritten) {
  EXPECT_EQ(TryLoadResString(119, Language::English).value(),
            "The car with the ID %1 uses the painting no %2. Are you sure you want to change the number of "
            "painings?");
  EXPECT_EQ(TryLoadResString(119, Language::Polish).value(),
            "Samoch\xC3\xB3"
            "d o identyfikatorze %1 u\xC5\xBCywa malowania nr %2. Czy na pewno chcesz zmienic "
            "ilo\xC5\x9B\xC4\x87 malowa\xC5\x84?");
}

TEST_F(WizardStringTable, PolishLettersAreUtf8) {
  EXPECT_EQ(TryLoadResString(104, Language::Polish).value(),
            "Zako\xC5\x84"
            "cz");
  EXPECT_EQ(TryLoadResString(116, Language::Polish).value(),
            "Wyst\xC4\x85pi\xC5\x82y b\xC5\x82\xC4\x99"
            "dy!");
  EXPECT_EQ(TryLoadResString(11005, Language::Polish).value(), "Szeroko\xC5\x9B\xC4\x87 [mm]");
  EXPECT_EQ(TryLoadResString(204, Language::Polish).value(), "Zmie\xC5\x84...");
  EXPECT_EQ(TryLoadResString(201, Language::Polish).value(),
            "Wska\xC5\xBC katalog  w kt\xC3\xB3rym znajduje si\xC4\x99 gra Gravelon.");
  EXPECT_EQ(TryLoadResString(803, Language::Polish).value().substr(0, 6), "UWAGA!");
  EXPECT_NE(TryLoadResString(803, Language::English).value().find("(Data\\Profiles\\)"), std::string::npos);
}

TEST_F(WizardStringTable, LookupFollowsTheForcedLanguage) {
  SetLanguageForTesting(Language::Polish);
  EXPECT_EQ(wizard::CurrentLanguage(), Language::Polish);
  EXPECT_EQ(LoadResString(101), "Anuluj");
  SetLanguageForTesting(Language::English);
  EXPECT_EQ(LoadResString(101), "Cancel");
  EXPECT_EQ(LoadResString(150), "");
  EXPECT_FALSE(TryLoadResString(150).has_value());
}

TEST(WizardLanguage, PolishForEveryPolishLanguageId) {
  const struct {
    uint16_t LangId;
    Language Expected;
  } cases[] = {
      {1045, Language::Polish},                               // pl-PL
      {0x0015, Language::Polish},                             // Polish, neutral
      {0x0415, Language::Polish}, {1033, Language::English},  // en-US
      {2057, Language::English},                              // en-GB
      {1029, Language::English},                              // cs-CZ, also Central European
      {1031, Language::English},                              // de-DE
      {0x0815, Language::Polish},                             // any sublanguage of Polish
      {0, Language::English},
  };
  for (const auto& c : cases) EXPECT_EQ(wizard::LanguageFromLangId(c.LangId), c.Expected) << c.LangId;
}

}  // namespace

// The display character sets: the script, code page and direction of the corpus texts on screen
// and in generated pages, the sixteen sets the options offer, and the one in use. Everything that
// shows or writes corpus text reads it here; the program's configuration installs the set chosen.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One display character set.
class ConfigurationDeFonte {
public:
    ConfigurationDeFonte() = default;
    ConfigurationDeFonte(std::uint8_t fontCharset, bool rightToLeft, std::string name,
                         std::string codePage, std::string direction);

    std::uint8_t GetFontCharset() const { return fontCharset_; }
    bool IsRightToLeft() const { return rightToLeft_ != 0; }
    // The name shown in the options dialog (UTF-8).
    std::string GetName() const { return name_; }
    // Windows code page number in decimal ("1252").
    std::string GetCodePage() const { return codePage_; }
    // "LTR" or "RTL".
    std::string GetDirection() const { return direction_; }
    // The charset declared by generated pages and XML documents: the name browsers and XML parsers
    // know the code page by ("Shift_JIS" for 932, "IBM850" for 850...), else "windows-" followed
    // by the code page.
    std::string GetHtmlCharset() const;

    bool operator==(const ConfigurationDeFonte &) const = default;

private:
    std::uint8_t fontCharset_ = 0;
    std::uint8_t rightToLeft_ = 0;
    std::string name_;
    std::string codePage_;
    std::string direction_;
};

// The fixed table of the sixteen display character sets, in index order (row 0: Windows-1252).
const std::vector<ConfigurationDeFonte> &TableDesJeuxDAffichage();

// The current display character set: the installed one, else row 0 of the table.
ConfigurationDeFonte JeuDAffichage();
// Installs the set JeuDAffichage reads from then on (not owned; it may change in place, as the
// configuration's does when the user chooses another). Null: row 0.
void FixeJeuDAffichage(const ConfigurationDeFonte *jeu);

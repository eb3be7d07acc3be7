// Program-wide settings kept in "talmer3.conf": the segmenter's capacity and the display character
// set chosen among the sixteen (services/jeu_affichage.h). The file lies in the user's configuration
// folder, so that the settings outlive the run whatever folder the bases are opened from.
#pragma once

#include "services/jeu_affichage.h"

#include <QString>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Entries of a configuration file: key -> value, keys in byte order, one entry per key.
using EntreesDeFichierIni = std::map<std::string, std::string>;

// The configuration: maximum number of articles of the segmenter and the display character set.
class ConfigurationT3 {
public:
    static constexpr std::int32_t NumartParDefaut = 100000;
    // Entity numbers must stay below the line-break code of the numeric text (4999742), so the
    // article table never holds more entries than that.
    static constexpr std::int32_t NumartMaximum = 4999742;
    static constexpr std::int32_t NbCharsets = 16;

    // Reads "talmer3.conf" from `dossier` when it exists there, else takes the defaults.
    explicit ConfigurationT3(QString dossier = DossierParDefaut());
    virtual ~ConfigurationT3() = default;
    ConfigurationT3(const ConfigurationT3 &) = delete;
    ConfigurationT3 &operator=(const ConfigurationT3 &) = delete;

    virtual std::string FileName() const;   // "talmer3.conf", the file's name in its folder
    virtual std::string KeyNumart() const;  // "numart"
    virtual std::string KeyCharset() const; // "charset"
    virtual std::string KeyLangue() const;  // "langue" (kept for the file's vocabulary; unused)
    // Entries of the file by the line rule (runs of "=" separate key and value); a missing or
    // unreadable file gives no entries.
    virtual EntreesDeFichierIni ReadFile() const;
    // Takes numart and charset from the file; a value that is missing or out of range gives the
    // default (numart 100000, charset 0).
    virtual void Load();
    // Load when the file exists, else the defaults; writes nothing.
    virtual void Init();

    // The user's configuration folder (Qt's application configuration location).
    static QString DossierParDefaut();
    // The folder given at construction, and the file's full path in it.
    QString Dossier() const { return dossier_; }
    QString Chemin() const;

    // Writes "numart=<n>\r\ncharset=<i>\r\n" under a temporary name, then renames it; the
    // folder is created when missing.
    // Returns false (and the reason in French in *erreur) when the file cannot be written.
    bool Save(QString *erreur = nullptr) const;

    std::int32_t GetNumart() const { return numart_; }
    void SetNumart(std::int32_t n) { numart_ = n; }

    std::int32_t GetCharsetIndex() const { return charsetIndex_; }
    // Selects row `index` of the table; an index outside 0..15 selects row 0.
    void SetCharsetIndex(std::int32_t index);
    const ConfigurationDeFonte &GetCharset() const { return charset_; }
    void SetCharset(const ConfigurationDeFonte &c) { charset_ = c; }
    std::vector<ConfigurationDeFonte> GetCharsetTable();

    // The fixed table of the sixteen display character sets, in index order
    // (TableDesJeuxDAffichage).
    static const std::vector<ConfigurationDeFonte> &TableDesCharsets();
    // Whether n is usable as the article table's capacity (1 to NumartMaximum).
    static bool NumartValide(std::int32_t n) { return n > 0 && n <= NumartMaximum; }

private:
    QString dossier_;
    ConfigurationDeFonte charset_;
    std::int32_t numart_ = NumartParDefaut;
    std::int32_t charsetIndex_ = 0;
    std::vector<ConfigurationDeFonte> table_;
};

// The one configuration of the run (not owned). Start-up installs it; null before. Its character
// set is the display character set (JeuDAffichage) while it is installed.
ConfigurationT3 *ConfigurationProgramme();
void FixeConfigurationProgramme(ConfigurationT3 *config);

#include "platform/ui/message_box_buttons.h"

#include "platform/os/locale.h"
#include "platform/ui/message_box_type.h"
#include "platform/ui/styles.h"

#include <array>
#include <string_view>

namespace platform::ui {
namespace {

// OK, Cancel, Abort, Retry, Ignore, Yes, No, Try Again, Continue.
using button_texts = std::array<std::wstring_view, 9>;

struct language_texts {
    std::uint16_t primary_language;
    button_texts texts;
};

constexpr button_texts english = {L"OK",   L"Cancel", L"&Abort",     L"&Retry",   L"&Ignore",
                                  L"&Yes", L"&No",    L"&Try Again", L"&Continue"};

constexpr std::array<language_texts, 10> translated = {{
    {0x0C,
     {L"OK", L"Annuler", L"&Abandonner", L"&Recommencer", L"&Ignorer", L"&Oui", L"&Non",
      L"&Réessayer", L"&Continuer"}},
    {0x07,
     {L"OK", L"Abbrechen", L"&Abbrechen", L"&Wiederholen", L"&Ignorieren", L"&Ja", L"&Nein",
      L"&Erneut versuchen", L"&Weiter"}},
    {0x0A,
     {L"Aceptar", L"Cancelar", L"&Anular", L"&Reintentar", L"&Omitir", L"&Sí", L"&No",
      L"&Volver a intentarlo", L"&Continuar"}},
    {0x10,
     {L"OK", L"Annulla", L"&Interrompi", L"&Riprova", L"&Ignora", L"&Sì", L"&No", L"&Riprova",
      L"&Continua"}},
    {0x16,
     {L"OK", L"Cancelar", L"&Anular", L"&Repetir", L"&Ignorar", L"&Sim", L"&Não",
      L"&Tentar novamente", L"&Continuar"}},
    {0x0E,
     {L"OK", L"Mégse", L"&Megszakítás", L"Ú&jra", L"&Kihagyás", L"&Igen", L"&Nem", L"Ú&jra",
      L"&Folytatás"}},
    {0x18,
     {L"OK", L"Anulare", L"&Abandon", L"&Reîncercare", L"&Ignorare", L"&Da", L"&Nu",
      L"&Reîncercați", L"&Continuare"}},
    {0x1F,
     {L"Tamam", L"İptal", L"&Durdur", L"&Yeniden Dene", L"&Yoksay", L"&Evet", L"&Hayır",
      L"&Yeniden Dene", L"De&vam"}},
    {0x15,
     {L"OK", L"Anuluj", L"&Przerwij", L"&Ponów próbę", L"&Ignoruj", L"&Tak", L"&Nie",
      L"&Spróbuj ponownie", L"&Kontynuuj"}},
    {0x13,
     {L"OK", L"Annuleren", L"&Afbreken", L"&Opnieuw", L"&Negeren", L"&Ja", L"&Nee",
      L"&Opnieuw proberen", L"&Doorgaan"}},
}};

// The position of the answer in a table; OK for an unknown one.
std::size_t slot_of(int answer) {
    switch (answer) {
    case idcancel:
        return 1;
    case idabort:
        return 2;
    case idretry:
        return 3;
    case idignore:
        return 4;
    case idyes:
        return 5;
    case idno:
        return 6;
    case idtryagain:
        return 7;
    case idcontinue:
        return 8;
    default:
        return 0;
    }
}

} // namespace

std::wstring message_box_button_text(int answer, std::uint16_t lang_id) {
    const std::uint16_t primary = platform::os::primary_language(lang_id);
    for (const language_texts& language : translated) {
        if (language.primary_language == primary)
            return std::wstring(language.texts[slot_of(answer)]);
    }
    return std::wstring(english[slot_of(answer)]);
}

} // namespace platform::ui

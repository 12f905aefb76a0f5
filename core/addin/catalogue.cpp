#include "core/addin/catalogue.h"

#include <array>
#include <string>

namespace tagwright {
namespace {

constexpr std::array<PropertyEntry, kPropertyCount> kProperties{{
    {113, u"IsEnabled", u"УстройствоВключено"},
    {101, u"NumberPort", u"НомерПорта"},
    {102, u"Speed", u"Скорость"},
    {104, u"Darkness", u"Яркость"},
    {106, u"Stripper", u"Отделитель"},
    {129, u"Cutter", u"Резак"},
    {107, u"LabelHeight", u"ВысотаЭтикетки"},
    {108, u"LabelWidth", u"ШиринаЭтикетки"},
    {109, u"LabelLeftMargin", u"ОтступСлеваЭтикетки"},
    {110, u"LabelTopMargin", u"ОтступСверхуЭтикетки"},
    {130, u"StopPosition", u"ПозицияОстановки"},
    {121, u"BarcodeWidth", u"ШиринаШтрихкода"},
    {122, u"BarcodeReadable", u"ЧитаемыйШтрихкод"},
    {123, u"BarcodeNarrow", u"ПлотностьШтрихкода"},
    {124, u"LabelType", u"ТипЭтикетки"},
    {125, u"GapLenght", u"ДлинаЗазора"},
    {126, u"FeedLenght", u"ДлинаПрогона"},
    {127, u"BlackMarkLenght", u"ДлинаЧернойМетки"},
    {128, u"BlackMarkPosition", u"СмещениеОтЧернойМетки"},
    {131, u"LabelRotate", u"ПеревернутьЭтикетку"},
    {135, u"Termotransfer", u"Термотрансферный"},
}};

constexpr std::array<MethodEntry, kMethodCount> kMethods{{
    {114, u"StartLabel", u"НоваяЭтикетка", 0, false},
    {115, u"PutBarcode", u"СформироватьШтрихкод", 6, false},
    {116, u"PutText", u"ВывестиТекст", 8, false},
    {118, u"PutRectangle", u"ВывестиПрямоугольник", 6, false},
    {119, u"InversRectangle", u"ИнвертироватьПрямоугольник", 4, false},
    {117, u"Print", u"Печатать", 1, true},
    {120, u"PutLoadedText", u"ВывестиЗагруженныйТекст", 8, false},
    {132, u"PrintToBuff", u"ПечататьВБуфер", 1, true},
    {133, u"PutImage", u"ВывестиКартинку", 3, false},
    {134, u"PutBarcodePDF417", u"СформироватьШтрихкодPDF417", 8, false},
}};

template <typename Table>
std::optional<std::int32_t> findIn(const Table& table, std::u16string_view name) {
  // Every row is compared; the names are distinct, so at most one matches.
  std::optional<std::int32_t> found;
  for (std::size_t i = 0; i < table.size(); ++i) {
    if (name == table[i].english || name == table[i].russian) found = static_cast<std::int32_t>(i);
  }
  return found;
}

}  // namespace

const PropertyEntry* propertyEntry(std::int32_t number) {
  if (number < 0 || number >= kPropertyCount) return nullptr;
  return &kProperties[static_cast<std::size_t>(number)];
}

const MethodEntry* methodEntry(std::int32_t number) {
  if (number < 0 || number >= kMethodCount) return nullptr;
  return &kMethods[static_cast<std::size_t>(number)];
}

std::u16string_view catalogueName(std::u16string_view english, std::u16string_view russian,
                                  std::int32_t alias) {
  if (alias == 0) return english;
  if (alias == 1) return russian;
  return {};
}

std::optional<std::int32_t> findPropertyNumber(std::u16string_view name) {
  return findIn(kProperties, name);
}

std::optional<std::int32_t> findMethodNumber(std::u16string_view name) {
  return findIn(kMethods, name);
}

std::u16string catalogueResourceText(std::u16string_view english, std::u16string_view russian) {
  std::u16string text(english);
  text += u',';
  text += russian;
  return text;
}

}  // namespace tagwright

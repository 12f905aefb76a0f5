#include "core/settings/settings_page.h"

#include <string>

#include "core/settings/page_ids.h"

namespace tagwright {

using namespace page_id;

// Marks the writes the page makes to its own controls, so that the echoes
// they cause are not taken for the user's doing.
class SettingsPage::OwnWrite {
 public:
  explicit OwnWrite(SettingsPage& page) : page_(page) { ++page_.ownWrites_; }
  ~OwnWrite() { --page_.ownWrites_; }
  OwnWrite(const OwnWrite&) = delete;
  OwnWrite& operator=(const OwnWrite&) = delete;

 private:
  SettingsPage& page_;
};

namespace {

std::u16string portName(std::int32_t index) {
  if (index < 3) return u"LPT" + editText(index + 1);
  if (index < 12) return u"COM" + editText(index - 2);
  return u"USB (серия Plus)";
}

std::u16string_view mediaLengthCaption(std::int32_t labelType) {
  switch (labelType) {
    case 0: return u"Зазор между этикетками :";
    case 1: return u"Длина прогона бумаги :";
    default: return u"Длина черной метки :";
  }
}

constexpr std::int32_t kPortCount = 13;

}  // namespace

void SettingsPage::activate(PageControls& controls, PageLinks& links, PropertyLink* edited) {
  controls_ = &controls;
  links_ = &links;
  typedEdits_.clear();
  if (edited != nullptr) {
    setPrinterGroup(settings_, edited->getPrinterGroup());
    setLabelGroup(settings_, edited->getLabelGroup());
    setMediaGroup(settings_, edited->getMediaGroup());
  }
  fill();
  markClean();
  tell(PageStatus::None);
}

void SettingsPage::deactivate() {
  if (controls_ == nullptr) return;
  // The controls are let go of even if taking their values fails.
  struct Unbind {
    SettingsPage& page;
    ~Unbind() {
      page.controls_ = nullptr;
      page.links_ = nullptr;
      page.typedEdits_.clear();
    }
  } unbind{*this};
  commitTypedEdits();
  settings_ = collect();
}

void SettingsPage::fill() {
  OwnWrite own(*this);
  PageControls& c = *controls_;
  const PrinterSettings& s = settings_;

  c.clearList(kPortList);
  for (std::int32_t i = 0; i < kPortCount; ++i) c.addListEntry(kPortList, portName(i));
  c.selectListEntry(kPortList, s.PrinterPort);
  fillList(kSpeedList, 2, 5, s.PrinterSpeed);
  fillList(kDarknessList, 0, 20, s.PrinterDarkness);

  c.setChecked(kStripperBox, s.PrinterStriper > 0);
  c.setChecked(kCutterBox, s.PrinterCutter > 0);

  for (const PageEdit& e : fixedPageEdits()) {
    c.setSpinRange(e.spin, e.arrows.low, e.arrows.high);
    showNumber(e.edit, s.*e.field);
  }

  fillList(kBarcodeWidthList, 1, 10, s.BarcodeWidth);
  c.setChecked(kRatio2To1Radio, s.BarcodeNarrow == 0);
  c.setChecked(kRatio3To1Radio, s.BarcodeNarrow == 1);
  c.setChecked(kRatio5To2Radio, s.BarcodeNarrow != 0 && s.BarcodeNarrow != 1);
  c.setChecked(kReadableBox, s.BarcodeReadable > 0);

  switchMedia(s.LabelType);

  c.setChecked(kRotateBox, s.LabelRotate > 0);
  c.setChecked(kDirectThermalRadio, s.MetodTransfer == 0);
  c.setChecked(kThermalTransferRadio, s.MetodTransfer != 0);
}

void SettingsPage::fillList(int list, std::int32_t first, std::int32_t count,
                            std::int32_t selected) {
  controls_->clearList(list);
  for (std::int32_t i = 0; i < count; ++i) controls_->addListEntry(list, editText(first + i));
  controls_->selectListEntry(list, selected);
}

void SettingsPage::switchMedia(std::int32_t labelType) {
  OwnWrite own(*this);
  const std::int32_t media = (labelType == 0 || labelType == 1) ? labelType : 2;
  PageControls& c = *controls_;
  c.setChecked(kGapLabelsRadio, media == 0);
  c.setChecked(kContinuousTapeRadio, media == 1);
  c.setChecked(kBlackMarkRadio, media == 2);
  settings_.LabelType = media;

  const PageEdit length = mediaLengthEdit(media);
  showNumber(length.edit, settings_.*length.field);
  c.setSpinRange(length.spin, length.arrows.low, length.arrows.high);
  c.setText(kMediaLengthCaption, mediaLengthCaption(media));

  const bool blackMark = media == 2;
  for (int id : {kBlackMarkOffsetSpin, kBlackMarkOffsetEdit, kBlackMarkOffsetCaption,
                 kBlackMarkOffsetUnit}) {
    c.setVisible(id, blackMark);
  }
}

void SettingsPage::handle(int control, PageEvent event) {
  if (controls_ == nullptr || ownWrites_ > 0) return;
  switch (event) {
    case PageEvent::Clicked:
      markDirty();
      switch (control) {
        case kWebPageButton: links_->openWebPage(); break;
        case kSupportMailButton: links_->openSupportMail(); break;
        case kGapLabelsRadio: switchMedia(0); break;
        case kContinuousTapeRadio: switchMedia(1); break;
        case kBlackMarkRadio: switchMedia(2); break;
        case kStripperBox: clickStripper(); break;
        case kCutterBox: clickCutter(); break;
        default: break;
      }
      break;
    case PageEvent::SelectionChanged: markDirty(); break;
    case PageEvent::TextChanged:
      if (findPageEdit(control, settings_.LabelType)) {
        typedEdits_.insert(control);
        markDirty();
      }
      break;
    case PageEvent::FocusLost:
      if (auto edit = findPageEdit(control, settings_.LabelType)) commitEdit(*edit);
      break;
    case PageEvent::FocusGained:
      if (control == kCutterCountEdit) enterCutterCount();
      break;
  }
}

// Reads the edit's number, clamps it to the edit's range, keeps it in the
// working copy and shows the clamped value. Writing the value back counts as
// a change when the working copy did not hold it yet (a value from the store
// outside the page's range, or the cutter count entered with the cutter off).
void SettingsPage::commitEdit(const PageEdit& edit) {
  const std::int32_t value = edit.typed.clamp(editNumber(controls_->text(edit.edit)));
  std::int32_t& field = settings_.*edit.field;
  const bool changed = field != value;
  field = value;
  showNumber(edit.edit, value);
  if (changed) markDirty();
}

void SettingsPage::commitTypedEdits() {
  const std::set<int> typed = typedEdits_;
  for (int id : typed) {
    if (id == kCutterCountEdit && !controls_->isChecked(kCutterBox)) continue;
    if (auto edit = findPageEdit(id, settings_.LabelType)) commitEdit(*edit);
  }
  typedEdits_.clear();
}

void SettingsPage::clickStripper() {
  OwnWrite own(*this);
  const bool on = controls_->isChecked(kStripperBox);
  settings_.PrinterStriper = on ? 1 : 0;
  if (on) {
    settings_.PrinterCutter = 0;
    showNumber(kCutterCountEdit, 0);
    controls_->setChecked(kCutterBox, false);
  }
}

void SettingsPage::clickCutter() {
  OwnWrite own(*this);
  const bool on = controls_->isChecked(kCutterBox);
  settings_.PrinterCutter = on ? 1 : 0;
  if (on) {
    settings_.PrinterStriper = 0;
    controls_->setChecked(kStripperBox, false);
  }
  showNumber(kCutterCountEdit, settings_.PrinterCutter);
}

// Entering the cutter count means cutting: the stripper goes off and the
// cutter box on. The count itself is taken when the focus leaves.
void SettingsPage::enterCutterCount() {
  OwnWrite own(*this);
  settings_.PrinterStriper = 0;
  controls_->setChecked(kStripperBox, false);
  controls_->setChecked(kCutterBox, true);
}

// A list shows no selection when the stored value has no entry in it (speed
// 7, darkness 20, a port past the last one). Until the user picks an entry,
// the stored value is what the list stands for, and Apply keeps it.
std::int32_t SettingsPage::selectionOr(int list, std::int32_t stored) const {
  const std::int32_t selected = controls_->listSelection(list);
  return selected < 0 ? stored : selected;
}

PrinterSettings SettingsPage::collect() const {
  const PageControls& c = *controls_;
  PrinterSettings s = settings_;
  s.PrinterPort = selectionOr(kPortList, settings_.PrinterPort);
  s.PrinterSpeed = selectionOr(kSpeedList, settings_.PrinterSpeed);
  s.PrinterDarkness = selectionOr(kDarknessList, settings_.PrinterDarkness);
  s.PrinterStriper = c.isChecked(kStripperBox) ? 1 : 0;
  s.MetodTransfer = c.isChecked(kDirectThermalRadio) ? 0 : 1;

  s.LabelSize = editNumber(c.text(kLabelHeightEdit));
  s.LabelWidth = editNumber(c.text(kLabelWidthEdit));
  s.LeftMargin = editNumber(c.text(kLeftOffsetEdit));
  s.TopMargin = editNumber(c.text(kTopOffsetEdit));
  s.StopPosition = editNumber(c.text(kStopPositionEdit));
  s.LabelRotate = c.isChecked(kRotateBox) ? 1 : 0;

  s.BarcodeWidth = selectionOr(kBarcodeWidthList, settings_.BarcodeWidth);
  s.BarcodeNarrow = c.isChecked(kRatio2To1Radio) ? 0 : (c.isChecked(kRatio3To1Radio) ? 1 : 2);
  s.BarcodeReadable = c.isChecked(kReadableBox) ? 1 : 0;
  s.LabelType = c.isChecked(kGapLabelsRadio) ? 0 : (c.isChecked(kContinuousTapeRadio) ? 1 : 2);
  // Only the selected media's length is on show; the other two keep the
  // values of the working copy.
  s.*mediaLengthEdit(s.LabelType).field = editNumber(c.text(kMediaLengthEdit));
  s.BlackMarkPosition = editNumber(c.text(kBlackMarkOffsetEdit));
  return s;
}

void SettingsPage::apply(PropertyLink* edited) {
  if (controls_ != nullptr) {
    commitTypedEdits();
    settings_ = collect();
  }
  if (edited != nullptr) {
    edited->setPrinterGroup(getPrinterGroup(settings_));
    edited->setLabelGroup(getLabelGroup(settings_));
    edited->setMediaGroup(getMediaGroup(settings_));
  }
  markClean();
}

void SettingsPage::showNumber(int edit, std::int32_t value) {
  OwnWrite own(*this);
  controls_->setText(edit, editText(value));
  typedEdits_.erase(edit);
}

void SettingsPage::markDirty() {
  if (dirty_) return;
  dirty_ = true;
  tell(PageStatus::Dirty);
}

void SettingsPage::markClean() {
  if (!dirty_) return;
  dirty_ = false;
  tell(PageStatus::Clean);
}

void SettingsPage::tell(PageStatus status) {
  if (site_ != nullptr) site_->statusChanged(status);
}

}  // namespace tagwright

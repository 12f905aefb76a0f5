// Resource identifiers of the printer settings page: the dialog template,
// its controls and the link addresses. Used from C++ and from the resource
// script, so only preprocessor definitions belong here. The control numbers
// are those of core/settings/page_ids.h; page_dialog.cpp checks that they
// agree.
#pragma once

#define IDD_SETTINGS_PAGE 202

// The link addresses live in the string table under the ids of their buttons.
#define IDS_WEB_ADDRESS 219
#define IDS_SUPPORT_MAIL 220

#define IDC_READABLE 203
#define IDC_PORT 204
#define IDC_MEDIA_LENGTH 205
#define IDC_BLACK_MARK_OFFSET 206
#define IDC_DARKNESS 208
#define IDC_LABEL_HEIGHT 209
#define IDC_LEFT_OFFSET 210
#define IDC_TOP_OFFSET 211
#define IDC_RATIO_2_1 212
#define IDC_RATIO_3_1 213
#define IDC_RATIO_5_2 214
#define IDC_BARCODE_WIDTH 215
#define IDC_STRIPPER 216
#define IDC_SPEED 217
#define IDC_LABEL_WIDTH 218
#define IDC_WEB_PAGE 219
#define IDC_SUPPORT_MAIL 220
#define IDC_CUTTER 221
#define IDC_STOP_POSITION 222
#define IDC_CUTTER_COUNT 223
#define IDC_GAP_LABELS 228
#define IDC_CONTINUOUS_TAPE 229
#define IDC_BLACK_MARK 230
#define IDC_BLACK_MARK_OFFSET_CAPTION 231
#define IDC_MEDIA_LENGTH_CAPTION 232
#define IDC_BLACK_MARK_OFFSET_UNIT 233
#define IDC_MEDIA_LENGTH_UNIT 234
#define IDC_LABEL_HEIGHT_SPIN 237
#define IDC_LABEL_WIDTH_SPIN 238
#define IDC_LEFT_OFFSET_SPIN 239
#define IDC_TOP_OFFSET_SPIN 240
#define IDC_MEDIA_LENGTH_SPIN 241
#define IDC_BLACK_MARK_OFFSET_SPIN 242
#define IDC_STOP_POSITION_SPIN 243
#define IDC_ROTATE 244
#define IDC_CUTTER_COUNT_SPIN 245
#define IDC_DIRECT_THERMAL 248
#define IDC_THERMAL_TRANSFER 249
// Beyond the page's own controls: where the selected port is mapped to.
#define IDC_PORT_TARGET 250

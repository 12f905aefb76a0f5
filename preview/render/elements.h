#pragma once

#include "preview/render/element_context.h"

namespace tagwright::preview {

// One function per element command. Each draws what it can and notes what
// it cannot; none throws for bad input.
void drawResidentText(const ElementContext& element);    // A f,x,y,hm,vm,gap,rot,text
void drawDownloadedText(const ElementContext& element);  // V f,x,y,hm,vm,gap,rot,text
void drawBox(const ElementContext& element);             // R x1,y1,x2,y2,lr,tb
void drawArea(const ElementContext& element);            // Lo,x1,y1,x2,y2 and Le,...
void drawLinearBarcodeElement(
    const ElementContext& element);  // B t,x,y,narrow,wide,height,rot,readable,data
void drawPdf417Element(const ElementContext& element);  // P x,y,w,h,rows,cols,level,data
void drawStoredImage(const ElementContext& element);    // Y x,y,name
void drawInlineImage(const ElementContext& element);    // Q x,y,bytes,rows + data

}  // namespace tagwright::preview

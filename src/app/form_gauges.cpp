#include "app/form_gauges.h"

namespace zenavo {

void ApplyCompassDialSettings(TAngularMeter& dial, const std::string& caption) {
  dial.BeginLoading();
  dial.resize(361, 361);
  dial.SetCaption(caption);
  dial.SetColor(clBlack);
  QFont font(QStringLiteral("Verdana"));
  font.setPixelSize(13);
  dial.setFont(font);
  dial.SetFontColor(clWhite);
  dial.SetMaxValue(360.0);
  dial.SetMinValue(0.0);
  dial.SetPosition(90.0);
  dial.SetDecimals(0);
  dial.SetAngle(180);
  dial.SetAngleOffset(360);
  dial.SetRadius(180);
  dial.SetSpacing(60);
  dial.SetTicks(72);
  dial.SetTicksMin(10);
  dial.SetTicksMax(14);
  dial.SetTicksEnlarge(2);
  dial.SetTicksColor(clWhite);
  dial.SetColorZone(1, clGreen);
  dial.SetColorZone(2, clBlue);
  dial.SetColorZone(3, clBlue);
  dial.SetPercent1(50);
  dial.SetPercent2(40);
  dial.SetLabels(8);
  dial.SetLabelsOffset(23);
  dial.SetNeedleLength(-1);
  dial.SetNeedleBaseWidth(14);
  dial.SetNeedleColor(clRed);
  dial.SetCenterDotColor(clWhite);
  dial.SetCenterDotWidth(3);
  QFont labels(QStringLiteral("MS Sans Serif"));
  labels.setPixelSize(11);
  dial.SetLabelsFont(labels, clWhite);
  dial.EndLoading();
}

void ApplyElevationScaleSettings(TJogMeter& scale) {
  scale.BeginLoading();
  scale.SetDirection(gdVertical);
  scale.resize(40, 362);
  scale.SetColor(clBlack);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(11);
  scale.setFont(font);
  scale.SetFontColor(clBlack);
  scale.SetCaption("JogMeter1");
  scale.SetShowCaption(false);
  scale.SetFromColor(clBlack);
  scale.SetToColor(clWhite);
  TJogMeterScale& s = scale.Scale();
  s.SetColor(clBlack);
  s.SetDecimals(0);
  s.SetFormatText("%s");
  s.SetAperture(60.0);
  s.SetPosition(spBefore);
  s.SetStep(5.0);
  s.SetSmallStep(1.0);
  s.SetHeightMax(15);
  s.SetHeightMin(10);
  s.SetVisible(true);
  scale.Value().SetValue(0.0);
  scale.Value().SetShape(isLine);
  scale.Value().SetColor(clRed);
  scale.Value().SetVisible(true);
  scale.EndLoading();
}

}  // namespace zenavo

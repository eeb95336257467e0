#include "commands/section/profile_commands.h"

#include <optional>

#include "base/c_format.h"
#include "base/cp1250.h"
#include "base/fixed_text.h"
#include "base/zeroed_block.h"
#include "commands/section/section_operations.h"
#include "core/interpretation/auto_model.h"

namespace orv {

namespace {

constexpr const char* kNoPoints = "Aktuální profil nemá žádný bod VES.";

SectionProfile* profileWithPoints(SectionSession& session) {
  SectionDatabase& db = session.db;
  if (db.currentProfile < 0 || db.currentProfile > db.mxindex_profilu ||
      db.currentProfile >= MaxProfiles || db.profiles[db.currentProfile].mxindex_bodu < 0) {
    session.dialogs.message(kNoPoints);
    return nullptr;
  }
  return &db.profiles[db.currentProfile];
}

std::string misfitCell(double v) {
  return v < HUGE_VAL ? cformat("%.6f", v) : std::string("–");
}

// The points now hold new models: the database counts as changed, and the
// curve window shows the point it holds again, now with its new model.
void showHeldPoint(SectionSession& session) {
  session.db.changed = true;
  if (session.curve.state().fromSection) loadPoint(session, session.db.currentPoint);
  session.redraw();
}

}  // namespace

std::string profileBatchSummary(const SectionProfile& profile, const ProfileBatchOutcome& out) {
  std::string text;
  const int done = static_cast<int>(out.rows.size());
  if (out.cancelled)
    text +=
        cformat("Přerušeno: hotovo %i z %i bodů, ostatní zůstaly beze změny.\n\n", done, out.total);
  text += "bod\tSSQ před\tSSQ po\n";
  for (const ProfileBatchRow& r : out.rows) {
    text += cp1250ToUtf8(textOf(profile.points[r.point].pointName)) + "\t" + misfitCell(r.before) +
            "\t" + misfitCell(r.after) + "\n";
  }
  return text;
}

void interpretWholeProfile(SectionSession& session, const WorkProgress& progress) {
  SectionProfile* profile = profileWithPoints(session);
  if (!profile) return;
  const std::optional<std::string> answer = session.dialogs.inputQuery(
      "Interpretuj celý profil",
      "počet vrstev automatického modelu (2 až 30), 0 = z vlastních modelů bodů", "0");
  if (!answer) return;
  const std::optional<int> layers = parseUserInt(*answer);
  if (!layers || (*layers != 0 && (*layers < AutoModelMinLayers || *layers > AutoModelMaxLayers))) {
    session.dialogs.message("Soustřeďte se (celé číslo)!");
    return;
  }
  ProfileBatchSettings settings;
  settings.autoLayers = *layers;
  settings.accurateForward = session.curve.state().accurateForward;
  ZeroedBlock<CurveWindowState> scratch;
  const ProfileBatchOutcome out = interpretProfileCore(*profile, *scratch, settings, progress);
  showHeldPoint(session);
  session.dialogs.message(profileBatchSummary(*profile, out));
}

void toggleDepthMarks(SectionSession& session) {
  session.view.showDepthOfInvestigation = !session.view.showDepthOfInvestigation;
  if (session.chrome)
    session.chrome->setChecked(ShowDepthMarksItem, session.view.showDepthOfInvestigation);
  session.redraw();
}

std::string lateralReport(const ProfileLateralOutcome& out) {
  std::string text =
      cformat("Chyba (SSQ) laterálně vázané inverze: %.6f\nSoučet chyb samostatných fitů: %.6f\n",
              out.jointMisfit, out.independentMisfit);
  if (out.jointMisfit > LateralTightRatio * out.independentMisfit)
    text += cformat(
        "\nVazby jsou příliš těsné: společný fit vysvětluje data %.1f× hůře než samostatné fity. "
        "Zvětšete povolenou změnu S nebo zadejte vyšší úroveň šumu.\n",
        out.jointMisfit / out.independentMisfit);
  return text;
}

void lateralInversionCommand(SectionSession& session, const WorkProgress& progress) {
  SectionProfile* profile = profileWithPoints(session);
  if (!profile) return;
  const char* caption = "Laterálně vázaná inverze";
  const std::optional<std::string> layerText =
      session.dialogs.inputQuery(caption, "počet vrstev (2 až 30)", "3");
  if (!layerText) return;
  const std::optional<int> layers = parseUserInt(*layerText);
  if (!layers || *layers < AutoModelMinLayers || *layers > AutoModelMaxLayers) {
    session.dialogs.message("Soustřeďte se (celé číslo)!");
    return;
  }
  LateralSettings settings;
  const std::optional<std::string> sText =
      session.dialogs.inputQuery(caption, "povolená relativní změna na 100 m (S, např. 0.5 = 50 %)",
                                 cformat("%g", LateralDefaultStrength));
  if (!sText) return;
  const std::optional<double> strength = parseUserReal(*sText);
  const std::optional<std::string> noiseText = session.dialogs.inputQuery(
      caption, "relativní šum dat (např. 0.03 = 3 %)", cformat("%g", LateralDefaultNoise));
  if (!noiseText) return;
  const std::optional<double> noise = parseUserReal(*noiseText);
  if (!strength || !(*strength > 0.0) || !noise || !(*noise > 0.0)) {
    session.dialogs.message("Soustřeďte se (číslo)!");
    return;
  }
  settings.strength = *strength;
  settings.noise = *noise;
  settings.accurateForward = session.curve.state().accurateForward;
  ZeroedBlock<CurveWindowState> scratch;
  const ProfileLateralOutcome out =
      lateralInversionOfProfile(*profile, *scratch, *layers, settings, progress);
  if (out.cancelled) {
    session.dialogs.message("Přerušeno: body profilu zůstaly beze změny.");
    return;
  }
  if (!out.ran) {
    session.dialogs.message(
        "Laterálně vázaná inverze neproběhla: některý bod nemá použitelnou křivku nebo model.");
    return;
  }
  showHeldPoint(session);
  session.dialogs.message(
      lateralReport(out) + "\n" +
      profileBatchSummary(*profile, {out.rows, static_cast<int>(out.rows.size()), false}));
}

}  // namespace orv

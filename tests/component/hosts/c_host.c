/* A C host built through pkg-config as ISO C90: setup data made, filled, saved and read back
 * through the C entry points alone, and a panel refused (with the reason) in a process that
 * has no QApplication. */
#include <ZANPdfCtl4/zanpdfctl4.h>

#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
  ZANSetupData* setup;
  ZANVariant folder;
  ZANVariant wrong;
  ZANVariant value;
  if (argc < 2) return 2;
  memset(&folder, 0, sizeof folder);
  folder.type = ZAN_VT_STRING;
  folder.text = "/srv/watched";
  memset(&wrong, 0, sizeof wrong);
  wrong.type = ZAN_VT_OBJECT;
  memset(&value, 0, sizeof value);

  setup = ZANSetupDataCreate();
  if (ZANSetupDataSetValue(setup, 2, "WatchedFolder", &folder) != 0) return 1;
  if (ZANSetupDataSetValue(setup, 3, "WatchedFolder", &folder) == 0) return 1;
  if (ZANSetupDataSetValue(setup, 2, "WatchedFolder", &wrong) == 0) return 1;
  printf("refused: %s\n", ZANDllGetLastError());
  if (ZANSetupDataSave(setup, argv[1]) != 0) return printf("%s\n", ZANDllGetLastError()), 1;
  ZANSetupDataFree(setup);
  if (ZANSetupDataLoad("/nonexistent/setup.json")) return 1;
  setup = ZANSetupDataLoad(argv[1]);
  if (!setup || ZANSetupDataGetValue(setup, 2, "WatchedFolder", &value) != 0) return 1;
  printf("WatchedFolder %s\n", value.type == ZAN_VT_STRING ? value.text : "(none)");
  ZANVariantClear(&value);
  ZANSetupDataFree(setup);

  /* This process has no QApplication: no panel, and the reason. */
  if (ZANPanelCreate("ZANPdf3", NULL) != NULL) return 1;
  printf("no panel: %s\n", ZANDllGetLastError());
  printf("c-host: ok\n");
  return 0;
}

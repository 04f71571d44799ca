/* A C host built through pkg-config: setup data made, filled, saved and read back through the
 * C entry points alone. */
#include <ZANPdfCtl4/zanpdfctl4.h>

#include <stdio.h>
#include <string.h>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  ZANSetupData* setup = ZANSetupDataCreate();
  ZANVariant folder = {ZAN_VT_STRING, 0, "/srv/watched", NULL};
  ZANVariant wrong = {ZAN_VT_OBJECT, 0, NULL, NULL};
  if (ZANSetupDataSetValue(setup, 2, "WatchedFolder", &folder) != 0) return 1;
  if (ZANSetupDataSetValue(setup, 3, "WatchedFolder", &folder) == 0) return 1;
  if (ZANSetupDataSetValue(setup, 2, "WatchedFolder", &wrong) == 0) return 1;
  printf("refused: %s\n", ZANDllGetLastError());
  if (ZANSetupDataSave(setup, argv[1]) != 0) return printf("%s\n", ZANDllGetLastError()), 1;
  ZANSetupDataFree(setup);
  if (ZANSetupDataLoad("/nonexistent/setup.json")) return 1;
  setup = ZANSetupDataLoad(argv[1]);
  ZANVariant value = {ZAN_VT_EMPTY, 0, NULL, NULL};
  if (!setup || ZANSetupDataGetValue(setup, 2, "WatchedFolder", &value) != 0) return 1;
  printf("WatchedFolder %s\n", value.type == ZAN_VT_STRING ? value.text : "(none)");
  ZANVariantClear(&value);
  ZANSetupDataFree(setup);
  printf("c-host: ok\n");
  return 0;
}

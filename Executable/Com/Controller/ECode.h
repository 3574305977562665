#pragma once

namespace VQ7 {

// Message codes: ids of the bilingual message table. 0-6 are texts the user
// interface shows, 7-14 failures reported through CDomain::HandleError.
enum ECode {
  ConfirmOverwrite = 0,
  ConfirmDelete = 1,
  Importing = 2,
  Exporting = 3,
  Converting = 4,
  Copying = 5,
  Finalizing = 6,
  InvalidDrive = 7,
  WaveLoadFailed = 8,
  PlaybackFailed = 9,
  ImportFailed = 10,
  ExportFailed = 11,
  DeleteFailed = 12,
  CardFull = 13,
  DiskFull = 14,
  nCodeCount = 15
};

}  // namespace VQ7

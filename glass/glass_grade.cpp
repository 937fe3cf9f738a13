#include "glass/glass_grade.h"

GlassGrade BackdropGrade(bool dark) {
  if (dark) {
    return {6.0f,
            {0.750244f, -0.032196f, -0.032196f, 0,  //
             -0.108310f, 0.674130f, -0.108310f, 0,  //
             -0.010934f, -0.010934f, 0.771506f, 0,  //
             0, 0, 0, 1,                            //
             0.01f, 0.011f, 0.015f, 0}};
  }
  return {6.5f,
          {1.148031f, -0.066969f, -0.066969f, 0,  //
           -0.225288f, 0.989712f, -0.225288f, 0,  //
           -0.022743f, -0.022743f, 1.192257f, 0,  //
           0, 0, 0, 1,                            //
           0, 0, 0, 0}};
}

ColorMatrix InkMatrix(float alphaGain) {
  ColorMatrix matrix{};
  matrix[3 * 4 + 3] = alphaGain;
  return matrix;
}

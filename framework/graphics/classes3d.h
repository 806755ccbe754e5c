// The 3D side's classes that the framework names without knowing them: its managers hold them and
// the 3D side's hooks make them (framework3d defines them).
#pragma once

class CSprite3D;
class CPrimitive3D;
class CLine3D;
class CPoint3D;
class CLine2D;
class CPoint2D;
class CFontSprite2D;
class CFontSprite3D;

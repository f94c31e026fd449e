// Reads each case's IFC file with web-ifc, which shares no code with Pendrio,
// and compares it with what the engine calculated (<case>.json): the schema
// and length unit; the vertical segments' type, distance along, length,
// height and slopes exactly, and the radius as IFC defines it, L / (g2 - g1);
// the points web-ifc computes, asked for one per section start, to 1E-6 m of
// the engine's heights; the line in plan; the chainage at the start. And the
// geometric representation: web-ifc reads its entities but evaluates no
// alignment curve, so the points are worked out here from the placements and
// parent curves as IFC 4.3 places them, to lie within 1E-6 m of the engine's
// heights, the parabola's SegmentLength its length along the curve, and each
// closing segment at the end of the one before it.
//
//   node check-ifc-with-web-ifc.js WEB_IFC_PACKAGE_DIR CASES_DIR
'use strict';
const fs = require('fs');
const path = require('path');
const WebIFC = require(path.resolve(process.argv[2]));
const casesDir = process.argv[3];

let failures = 0;
function check(ok, what) {
  if (!ok) {
    failures++;
    console.log(`FAIL ${what}`);
  }
}
const near = (a, b, tolerance) => Math.abs(a - b) <= tolerance;
const value = (measure) => (measure === null ? null : measure._representationValue);

function lines(api, model, type) {
  const ids = api.GetLineIDsWithType(model, type);
  return [...Array(ids.size()).keys()].map((i) => api.GetLine(model, ids.get(i), true));
}

function checkSegments(api, model, name, want) {
  const [curve, end, ...more] = lines(api, model, WebIFC.IFCALIGNMENTVERTICALSEGMENT);
  const curved = want.startSlope !== want.endSlope;
  check(more.length === 0 && curve.PredefinedType.value === (curved ? 'PARABOLICARC' : 'CONSTANTGRADIENT'),
    `${name}: the vertical segments`);
  [[curve.StartDistAlong, 0], [curve.HorizontalLength, want.length], [curve.StartHeight, want.heights[0]],
    [curve.StartGradient, want.startSlope], [curve.EndGradient, want.endSlope],
    [curve.RadiusOfCurvature, curved ? want.length / (want.endSlope - want.startSlope) : null],
    [end.StartDistAlong, want.length], [end.HorizontalLength, 0], [end.StartHeight, want.heights[want.sections]],
    [end.StartGradient, want.endSlope], [end.EndGradient, want.endSlope],
  ].forEach(([measure, number], i) =>
    check(Object.is(value(measure), number), `${name}: segment value ${i} reads ${value(measure)}, not ${number}`));
  // A crest turns clockwise, and IFC gives a clockwise radius a minus sign.
  check(!curved || (value(curve.RadiusOfCurvature) < 0) === (want.endSlope < want.startSlope), `${name}: radius sign`);
}

function checkPoints(api, model, name, want) {
  const alignments = api.GetAllAlignments(model);
  check(alignments.length === 1, `${name}: ${alignments.length} alignments`);
  const line = alignments[0].horizontal[0];
  check(line.data.includes('TYPE: LINE') && line.points[1].x === want.length && line.points[1].y === 0,
    `${name}: the line in plan`);
  const n = want.sections;
  // web-ifc gives a constant gradient by its ends alone.
  const sections = want.startSlope === want.endSlope ? [0, n] : [...Array(n + 1).keys()];
  const points = alignments[0].vertical[0].points;
  check(points.length === sections.length, `${name}: ${points.length} points`);
  sections.forEach((i, k) => check(points[k] && near(points[k].x, (want.length * i) / n, 1e-9 * want.length) &&
    near(points[k].y, want.heights[i], 1e-6), `${name}: section ${i + 1} starts at ${JSON.stringify(points[k])}`));
}

const num = (v) => (typeof v === 'number' ? v : v._representationValue ?? v.value);
const pair = (list) => list.map(num);
const unit = ([x, y]) => [x / Math.hypot(x, y), y / Math.hypot(x, y)];

// A parent curve's point and derivative at parameter u: an IfcLine's, or an
// IfcPolynomialCurve's (at the origin, along x) with x = sum cx_i u^i, y likewise.
function parentAt(curve, u) {
  if (curve.type === WebIFC.IFCLINE) {
    const [px, py] = pair(curve.Pnt.Coordinates);
    const [dx, dy] = unit(pair(curve.Dir.Orientation.DirectionRatios));
    return { p: [px + u * dx, py + u * dy], d: [dx, dy] };
  }
  const at = (c) => c.reduce((sum, a, i) => sum + num(a) * u ** i, 0);
  const slope = (c) => c.reduce((sum, a, i) => sum + (i && i * num(a) * u ** (i - 1)), 0);
  return { p: [at(curve.CoefficientsX), at(curve.CoefficientsY)],
    d: [slope(curve.CoefficientsX), slope(curve.CoefficientsY)] };
}

// An IfcCurveSegment moves its parent's point and tangent at the cut (u = 0)
// to its placement's location and direction: the point and derivative there.
function placedAt(segment, u) {
  const [start, at] = [parentAt(segment.ParentCurve, 0), parentAt(segment.ParentCurve, u)];
  const [lx, ly] = pair(segment.Placement.Location.Coordinates);
  const [dx, dy] = unit(pair(segment.Placement.RefDirection.DirectionRatios));
  const t = unit(start.d);
  const [c, s] = [t[0] * dx + t[1] * dy, t[0] * dy - t[1] * dx];
  const turn = ([x, y]) => [c * x - s * y, s * x + c * y];
  const [x, y] = turn([at.p[0] - start.p[0], at.p[1] - start.p[1]]);
  return { p: [lx + x, ly + y], d: turn(at.d) };
}

// The parameter at which a segment is `d` along x, by Newton's method.
function parameterAt(segment, d) {
  let u = d;
  for (let i = 0; i < 8; i++) {
    const at = placedAt(segment, u);
    u -= (at.p[0] - d) / at.d[0];
  }
  return u;
}

// Simpson's rule over 2000 panels: the length along a segment up to u.
function lengthAlong(segment, u) {
  const speed = (v) => Math.hypot(...placedAt(segment, v).d);
  const n = 2000;
  let sum = speed(0) + speed(u);
  for (let i = 1; i < n; i++) sum += (i % 2 ? 4 : 2) * speed((u * i) / n);
  return (sum * u) / (3 * n);
}

function checkRepresentation(api, model, name, want) {
  const [alignment] = lines(api, model, WebIFC.IFCALIGNMENT);
  const reps = alignment.Representation.Representations;
  const rep = (id, type) => reps.find((r) => r.RepresentationIdentifier.value === id && r.RepresentationType.value === type);
  const [plan, axis] = [rep('FootPrint', 'Curve2D').Items[0], rep('Axis', 'Curve3D').Items[0]];
  check(plan.type === WebIFC.IFCCOMPOSITECURVE && axis.type === WebIFC.IFCGRADIENTCURVE &&
    axis.BaseCurve.expressID === plan.expressID, `${name}: the representations`);
  const L = want.length;
  [[plan.Segments, (d) => 0], [axis.Segments, null]].forEach(([[curve, end], heightAt]) => {
    const length = num(curve.SegmentLength);
    check(num(curve.SegmentStart) === 0 && num(end.SegmentLength) === 0, `${name}: segment trims`);
    const u = parameterAt(curve, L);
    check(near(lengthAlong(curve, u), length, 1e-6), `${name}: SegmentLength ${length}`);
    const [last, closing] = [placedAt(curve, u), placedAt(end, 0)];
    const [heading, closingHeading] = [unit(last.d), unit(closing.d)];
    check(near(last.p[0], closing.p[0], 1e-6) && near(last.p[1], closing.p[1], 1e-6) &&
      near(heading[0], closingHeading[0], 1e-12) && near(heading[1], closingHeading[1], 1e-12),
    `${name}: the closing segment at ${closing.p}`);
    for (let i = 0; i <= want.sections; i++) {
      const [d, height] = placedAt(curve, parameterAt(curve, (L * i) / want.sections)).p;
      const wanted = heightAt ? heightAt(d) : want.heights[i];
      check(near(d, (L * i) / want.sections, 1e-9 * L) && near(height, wanted, 1e-6),
        `${name}: the representation at section ${i + 1}: ${d}, ${height}`);
    }
  });
}

function checkProject(api, model, name, want) {
  check(api.GetModelSchema(model) === 'IFC4X3_ADD2', `${name}: schema`);
  const unit = lines(api, model, WebIFC.IFCSIUNIT).find((u) => u.UnitType.value === 'LENGTHUNIT');
  check(unit.Name.value === 'METRE' && unit.Prefix === null, `${name}: length unit`);
  const [stationing] = lines(api, model, WebIFC.IFCPROPERTYSET).filter((p) => p.Name.value === 'Pset_Stationing');
  const station = stationing.HasProperties.find((p) => p.Name.value === 'Station');
  check(Object.is(value(station.NominalValue), want.startChainage), `${name}: the station at the start`);
}

(async () => {
  const api = new WebIFC.IfcAPI();
  await api.Init();
  for (const name of JSON.parse(fs.readFileSync(path.join(casesDir, 'cases.json'), 'utf8'))) {
    const want = JSON.parse(fs.readFileSync(path.join(casesDir, `${name}.json`), 'utf8'));
    const bytes = new Uint8Array(fs.readFileSync(path.join(casesDir, `${name}.ifc`)));
    const model = api.OpenModel(bytes, { CIRCLE_SEGMENTS: want.sections });
    [checkProject, checkSegments, checkPoints, checkRepresentation].forEach((f) => f(api, model, name, want));
    api.CloseModel(model);
    console.log(`${name}: read by web-ifc ${api.GetVersion()}`);
  }
  process.exit(failures === 0 ? 0 : 1);
})();

// The lens pass's vertex shader: one triangle that covers the whole target, made from the vertex
// index alone (no vertex buffer): vertex 0 at (-1, -1), vertex 1 at (-1, 3), vertex 2 at (3, -1).
float4 main(uint vertexId : SV_VertexID) : SV_Position {
  float x = (vertexId >> 1) * 4.0 - 1.0;
  float y = (vertexId & 1) * 4.0 - 1.0;
  return float4(x, y, 0.0, 1.0);
}
